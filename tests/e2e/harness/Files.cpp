#include "Files.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <stdexcept>
#include <utility>

namespace e2e {

namespace {

std::runtime_error failure(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " " + path + ": error " + std::to_string(GetLastError()));
}

void makeFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw failure("cannot create", path);
    }
}

} // namespace

std::string makeCaseFolder(const std::string& name) {
    makeFolder("C:\\e2e");
    const std::string folder = "C:\\e2e\\" + name;
    removeTree(folder);
    makeFolder(folder);
    return folder;
}

std::string makeCaseFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test) {
        throw std::logic_error("makeCaseFolder() outside a test");
    }
    return makeCaseFolder(std::string(test->test_suite_name()) + "." + test->name());
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw failure("cannot create", path);
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) {
        throw failure("cannot write", path);
    }
}

std::string readFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw failure("cannot open", path);
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    BOOL ok;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    if (!ok) {
        throw failure("cannot read", path);
    }
    return bytes;
}

WORD peMachine(const std::string& path) {
    std::string bytes;
    try {
        bytes = readFile(path);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER) || bytes.compare(0, 2, "MZ") != 0) {
        return 0;
    }
    LONG header = 0;
    bytes.copy(reinterpret_cast<char*>(&header), sizeof header,
               offsetof(IMAGE_DOS_HEADER, e_lfanew));
    const size_t machineAt = static_cast<size_t>(header) + 4;
    if (header < 0 || bytes.size() < machineAt + sizeof(WORD) ||
        bytes.compare(static_cast<size_t>(header), 4, std::string("PE\0\0", 4)) != 0) {
        return 0;
    }
    WORD machine = 0;
    bytes.copy(reinterpret_cast<char*>(&machine), sizeof machine, machineAt);
    return machine;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void makeReadOnly(const std::string& path) {
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) {
        throw failure("cannot make read-only", path);
    }
}

void removeTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (!DeleteFileA(path.c_str())) {
            throw failure("cannot delete", path);
        }
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                removeTree(path + "\\" + name);
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    if (!RemoveDirectoryA(path.c_str())) {
        throw failure("cannot remove", path);
    }
}

HeldOpen::HeldOpen(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) {
        throw failure("cannot hold open", path);
    }
}

ScannerStandIn::ScannerStandIn(std::vector<std::string> paths, DWORD holdMs)
    : paths_(std::move(paths)), holdMs_(holdMs), held_(paths_.size()) {
    thread_ = std::thread([this] { scan(); });
}

std::vector<bool> ScannerStandIn::stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    return held_;
}

void ScannerStandIn::scan() {
    std::vector<HANDLE> handles(paths_.size(), INVALID_HANDLE_VALUE);
    std::vector<ULONGLONG> openedAt(paths_.size());
    while (!stopping_) {
        for (size_t i = 0; i < paths_.size(); ++i) {
            if (!held_[i]) {
                handles[i] =
                    CreateFileA(paths_[i].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                held_[i] = handles[i] != INVALID_HANDLE_VALUE;
                openedAt[i] = GetTickCount64();
            } else if (handles[i] != INVALID_HANDLE_VALUE && holdMs_ != INFINITE &&
                       GetTickCount64() - openedAt[i] >= holdMs_) {
                CloseHandle(handles[i]);
                handles[i] = INVALID_HANDLE_VALUE;
            }
        }
        // No pause: the moment between the writer's close and its next step is short.
        SwitchToThread();
    }
    for (HANDLE handle : handles) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
}

} // namespace e2e
