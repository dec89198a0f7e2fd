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

bool WindowsCopyFile(const Text& source, const Text& target) {
    return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
}
