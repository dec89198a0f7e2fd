#include "Process.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace e2e {

Process Process::start(const std::string& program, const LaunchOptions& options) {
    std::string commandLine = "\"" + program + "\"";
    if (!options.arguments.empty()) {
        commandLine += " " + options.arguments;
    }
    // CreateProcessA may write into the command line.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (options.showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(options.showCommand);
    }
    PROCESS_INFORMATION info{};
    const char* directory =
        options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();
    if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory, &startup, &info)) {
        throw std::runtime_error("CreateProcessA(" + program + ") failed: error " +
                                 std::to_string(GetLastError()));
    }
    CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId, info.dwThreadId);
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(other.id_), threadId_(other.threadId_) {
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        this->~Process();
        process_ = std::exchange(other.process_, nullptr);
        id_ = other.id_;
        threadId_ = other.threadId_;
    }
    return *this;
}

Process::~Process() {
    if (process_) {
        kill();
        CloseHandle(process_);
    }
}

bool Process::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

ExitResult Process::waitForExit(DWORD timeoutMs) {
    ExitResult result;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        kill();
        return result;
    }
    result.exited = true;
    GetExitCodeProcess(process_, &result.code);
    return result;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(process_, 255);
        WaitForSingleObject(process_, 5000);
    }
}

} // namespace e2e
