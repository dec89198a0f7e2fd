#include "Files.h"

#include "UpdaterFolder.h"
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

// Removes the temporary copy unless it has been put in place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const Text& path) : path_(path) {}
    ~TemporaryFile() {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const Text& Path() const { return path_; }
    void Release() { path_.clear(); }

  private:
    Text path_;
};

// A target the user's system would not let a plain copy overwrite (read-only,
// or held open without sharing by the application) is left as it is.
bool Replaceable(const Text& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    HANDLE handle = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

} // namespace

// The new file is copied beside the target first and then renamed over it in
// one step, so that a copy that fails part-way (a full disk, a read error, the
// program killed) leaves the installed file as it was, never cut short.
bool WindowsCopyFile(const Text& source, const Text& target) {
    const Text folder = UpdaterFolder(target);
    if (folder.empty() || !Replaceable(target))
        return false;
    char temporaryPath[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "upd", 0, temporaryPath) == 0)
        return false;
    TemporaryFile temporary(temporaryPath);
    if (!CopyFileA(source.c_str(), temporary.Path().c_str(), FALSE))
        return false;
    if (!MoveFileExA(temporary.Path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.Release();
    return true;
}
