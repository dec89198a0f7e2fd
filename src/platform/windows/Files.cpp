#include "Files.h"

#include "Win32.h"

bool WindowsFilePresent(const Text& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
           FileTimeToDosDateTime(&local, &date, &time);
}

Text WindowsOwnProgramPath() {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path that fills the buffer came back cut: its folder would be some other folder.
    if (length == 0 || length >= sizeof path)
        return Text();
    return Text(path, length);
}

namespace {

// The new copy of one target sits beside it under a name that marks it as this
// program's, for that target alone: a copy left behind by a run that was
// killed, or whose copy stayed held, is recognised by the next run and
// removed, and no other file is ever touched.
Text TemporaryPathFor(const Text& target) {
    return target + ".upd.tmp";
}

// Removes a copy of ours. One made from a read-only source is read-only too,
// and would not go otherwise; a folder of that name is none of ours.
void RemoveOwnFile(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Removes the temporary copy unless it has been put in place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const Text& path) : path_(path) {}
    ~TemporaryFile() {
        if (!path_.empty())
            RemoveOwnFile(path_);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const Text& Path() const { return path_; }
    void Release() { path_.clear(); }

  private:
    Text path_;
};

// Writes the copy's data to the disk. A rename is journaled without waiting
// for the renamed file's data, so after a power cut the installed name could
// otherwise stand for a file whose bytes never reached the disk.
DWORD FlushToDisk(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    // Only a handle that may write can flush; the copy of a read-only source
    // keeps its read-only attribute, as a plain copy would.
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return GetLastError();
    DWORD error = ERROR_SUCCESS;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        if (!FlushFileBuffers(file))
            error = GetLastError();
        CloseHandle(file);
    }
    if (readOnly)
        SetFileAttributesA(path.c_str(), attributes);
    return error;
}

DWORD Rename(const Text& from, const Text& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return GetLastError();
    return ERROR_SUCCESS;
}

// Virus scanners and indexers open a new file as soon as it is closed, often
// without FILE_SHARE_DELETE, and look into the installed one too; until they
// let go, the target cannot be had alone and the copy can be neither flushed,
// renamed nor deleted. A plain copy over the target never met them, so the
// replace waits for them: a little while, the same while for all of one
// file's steps.
class WaitForHolder {
  public:
    // Runs `step`, which answers a Windows error code, until it succeeds;
    // false when it fails for another reason than a holder, or held too long.
    template <class Step> bool Until(Step step) {
        DWORD error;
        while ((error = step()) != ERROR_SUCCESS) {
            if (!Again(error))
                return false;
        }
        return true;
    }

  private:
    // After a step failed with `error`: whether to try it again, having paused.
    bool Again(DWORD error) {
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
            error != ERROR_LOCK_VIOLATION)
            return false;
        const ULONGLONG now = GetTickCount64();
        if (deadline_ == 0)
            deadline_ = now + PatienceMs;
        if (now >= deadline_)
            return false;
        Sleep(PauseMs);
        return true;
    }

    static constexpr ULONGLONG PatienceMs = 2000;
    static constexpr DWORD PauseMs = 50;
    ULONGLONG deadline_ = 0;
};

// Opened for writing, sharing nothing: no one else has the file open.
DWORD OpenAlone(const Text& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(handle);
    return ERROR_SUCCESS;
}

// A target the user's system would not let a plain copy overwrite (read-only,
// or held open without sharing by the application) is left as it is; one held
// only for a moment is waited for.
bool Replaceable(const Text& target, WaitForHolder& holder) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    return holder.Until([&] { return OpenAlone(target); });
}

} // namespace

// The new file is copied beside the target first, flushed to the disk, and
// then renamed over it in one step, so that neither a copy that fails part-way
// (a full disk, a read error, the program killed) nor a power cut leaves the
// installed file cut short: it has its old bytes or its new ones.
bool WindowsCopyFile(const Text& source, const Text& target) {
    const Text temporaryPath = TemporaryPathFor(target);
    RemoveOwnFile(temporaryPath);
    WaitForHolder holder;
    if (!Replaceable(target, holder))
        return false;
    TemporaryFile temporary(temporaryPath);
    if (!CopyFileA(source.c_str(), temporary.Path().c_str(), FALSE) ||
        !holder.Until([&] { return FlushToDisk(temporary.Path()); }) ||
        !holder.Until([&] { return Rename(temporary.Path(), target); }))
        return false;
    temporary.Release();
    return true;
}
