// The recorder behind the start-up marks of the bench's own build of Update.exe.
// Each mark keeps the performance counter's raw value, which every process on
// the machine shares: bench_driver subtracts its own value from just before
// CreateProcessA. At the first paint the marks go, one "COUNT NAME" line each,
// to the file named by UPDATE_STARTUP_STEPS_FILE, and recording stops.
#include "StartupSteps.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Mark {
    LONGLONG count;
    const char* step;
};

Mark marks[64];
int markCount = 0;
bool written = false;

void WriteMarks() {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("UPDATE_STARTUP_STEPS_FILE", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    std::string lines;
    for (int i = 0; i < markCount; ++i) {
        char line[160];
        std::snprintf(line, sizeof line, "%lld %s\n", static_cast<long long>(marks[i].count),
                      marks[i].step);
        lines += line;
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD done = 0;
    WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &done, nullptr);
    CloseHandle(file);
}

} // namespace

void MarkStartupStep(const char* step) {
    if (written || markCount == 64)
        return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    marks[markCount++] = Mark{now.QuadPart, step};
    if (std::string(step) == "first paint") {
        written = true;
        WriteMarks();
    }
}
