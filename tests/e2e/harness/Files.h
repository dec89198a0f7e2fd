// Files and folders for one test case, as Windows paths inside the prefix.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

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

// Opens each of `paths` as a virus scanner opens a new file: the moment its
// writer has closed it, for reading, sharing reading and writing but not
// deletion; holds each for `holdMs` (INFINITE: until stopped).
class ScannerStandIn {
  public:
    ScannerStandIn(std::vector<std::string> paths, DWORD holdMs);
    ~ScannerStandIn() { stop(); }
    ScannerStandIn(const ScannerStandIn&) = delete;
    ScannerStandIn& operator=(const ScannerStandIn&) = delete;
    // Lets go of every file; says which of `paths` it has held.
    std::vector<bool> stop();

  private:
    void scan();

    std::vector<std::string> paths_;
    DWORD holdMs_;
    std::vector<bool> held_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace e2e
