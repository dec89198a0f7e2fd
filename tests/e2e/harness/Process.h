// Starting a program under test and waiting for it, with every wait bounded.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace e2e {

struct LaunchOptions {
    std::string arguments;        // appended to the quoted program path
    std::string workingDirectory; // empty: the test's own
    int showCommand = -1;         // SW_* for STARTUPINFOA.wShowWindow; -1: none given
};

inline LaunchOptions withArguments(std::string arguments) {
    LaunchOptions options;
    options.arguments = std::move(arguments);
    return options;
}

struct ExitResult {
    bool exited = false; // false: still running at the deadline, and killed
    DWORD code = 0;
};

class Process {
  public:
    // Throws std::runtime_error when CreateProcessA fails.
    static Process start(const std::string& program, const LaunchOptions& options = {});

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Kills a process that is still running: a failed test leaves nothing behind.
    ~Process();

    DWORD id() const { return id_; }
    DWORD threadId() const { return threadId_; }
    HANDLE handle() const { return process_; }
    bool running() const;

    // Waits up to timeoutMs for the process to end; past that kills it and
    // reports exited == false.
    ExitResult waitForExit(DWORD timeoutMs);
    void kill();

  private:
    Process(HANDLE process, DWORD id, DWORD threadId)
        : process_(process), id_(id), threadId_(threadId) {}

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
};

} // namespace e2e
