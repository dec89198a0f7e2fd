// Files and folders for one test case, as Windows paths inside the prefix.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// C:\e2e\<name>, emptied and made anew; throws when it cannot be.
std::string makeCaseFolder(const std::string& name);
// The same for the running GoogleTest case ("Suite.Name").
std::string makeCaseFolder();

void writeFile(const std::string& path, const std::string& bytes); // throws on failure
std::string readFile(const std::string& path);                     // throws on failure
bool fileExists(const std::string& path);
// The machine a program file is built for (IMAGE_FILE_MACHINE_I386, _AMD64);
// 0 when it is not a PE file.
WORD peMachine(const std::string& path);
// The file's size without opening it (an open handle can make another
// program's replacement of it fail); -1 when there is no such file.
long long fileSize(const std::string& path);
bool folderExists(const std::string& path);
void makeReadOnly(const std::string& path);
// Deletes a file or a folder with everything in it, read-only ones included.
void removeTree(const std::string& path);

// Holds a file open with no sharing, so nobody else can open, replace or delete it.
class HeldOpen {
  public:
    explicit HeldOpen(const std::string& path); // throws when it cannot be opened
    ~HeldOpen() { CloseHandle(handle_); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

  private:
    HANDLE handle_;
};

} // namespace e2e
