// Runs Update.exe and its baselines under Wine and prints what bench/run tabulates.
//
//   bench_driver start UPDATE_EXE MINIMAL_EXE APP_DIR RUNS
//       process start to first visible window, and the peak working set there
//   bench_driver copy UPDATE_EXE APP_DIR SIZE_MB RUNS
//       実　行 to 閉じる with the Data files beside UPDATE_EXE, against the
//       same five CopyFileA calls made here; Update.exe's peak working set
//
// Times are medians over RUNS in milliseconds; memory in KiB.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const Sources[] = {"LData.cxt", "START.dxr", "Train.dxr", "SHARED.cxt", "END.dxr"};
const char* const Targets[] = {"LDATA.CXT", "START.DXR", "TRAIN.DXR", "SHARED.CXT", "END.DXR"};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench_driver: %s (error %lu)\n", what, GetLastError());
    std::exit(1);
}

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

// The installation Update.exe looks for: RZB52.exe registered under App Paths.
void Install(const std::string& appDir) {
    CreateDirectoryA(appDir.c_str(), nullptr);
    const std::string program = appDir + "\\RZB52.exe";
    HANDLE file =
        CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot create RZB52.exe");
    CloseHandle(file);
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        Fail("cannot create the App Paths key");
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(appDir.c_str()),
                   static_cast<DWORD>(appDir.size() + 1));
    RegCloseKey(key);
}

void RemoveTargets(const std::string& appDir) {
    for (const char* target : Targets)
        DeleteFileA((appDir + "\\" + target).c_str());
}

PROCESS_INFORMATION Start(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    const std::string folder = Folder(program);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        Fail("cannot start the program");
    return process;
}

void End(PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64];
    if (owner == search->processId && IsWindowVisible(window) &&
        GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Polls every millisecond, for at most 60 s, for the process's visible window of that class.
HWND WaitForWindow(const PROCESS_INFORMATION& process, const char* className) {
    for (int i = 0; i < 60000; ++i) {
        WindowSearch search{process.dwProcessId, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            Fail("the program ended before showing its window");
    }
    Fail("no window within 60 s");
}

double PeakWorkingSetKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        Fail("GetProcessMemoryInfo");
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

struct Shown {
    double milliseconds;
    double peakKiB;
};

Shown TimeToWindow(const std::string& program, const char* className) {
    const double started = Now();
    PROCESS_INFORMATION process = Start(program);
    WaitForWindow(process, className);
    const double shown = Now() - started;
    Sleep(200); // let it finish painting before its memory is read
    const Shown result{shown, PeakWorkingSetKiB(process.hProcess)};
    End(process);
    return result;
}

int StartUp(const std::string& update, const std::string& minimal, const std::string& appDir,
            int runs) {
    Install(appDir);
    std::vector<double> updateTimes, minimalTimes, updatePeaks, minimalPeaks;
    for (int run = 0; run < runs; ++run) {
        const Shown a = TimeToWindow(update, "TForm1");
        const Shown b = TimeToWindow(minimal, "BenchMinimal");
        updateTimes.push_back(a.milliseconds);
        updatePeaks.push_back(a.peakKiB);
        minimalTimes.push_back(b.milliseconds);
        minimalPeaks.push_back(b.peakKiB);
    }
    std::printf("start_update_ms %.1f\nstart_minimal_ms %.1f\n", Median(updateTimes),
                Median(minimalTimes));
    std::printf("shown_update_peak_kib %.0f\nshown_minimal_peak_kib %.0f\n", Median(updatePeaks),
                Median(minimalPeaks));
    return 0;
}

struct Run {
    double milliseconds;
    double peakKiB;
};

Run UpdateRun(const std::string& update) {
    PROCESS_INFORMATION process = Start(update);
    HWND dialog = WaitForWindow(process, "TForm1");
    HWND button = GetDlgItem(dialog, 1);
    // Nobody presses 実　行 within a moment of the dialog appearing: what the
    // program does while it settles belongs to its start, not to the run.
    Sleep(300);
    const double started = Now();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    char text[32] = "";
    while (std::strcmp(text, "閉じる") != 0) {
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            Fail("Update.exe ended during the run");
        if (Now() - started > 600000)
            Fail("no 閉じる within 600 s");
        GetWindowTextA(button, text, sizeof text);
    }
    const Run result{Now() - started, PeakWorkingSetKiB(process.hProcess)};
    End(process);
    return result;
}

double PlainCopies(const std::string& dataDir, const std::string& appDir) {
    const double started = Now();
    for (int i = 0; i < 5; ++i) {
        const std::string source = dataDir + "\\" + Sources[i];
        const std::string target = appDir + "\\" + Targets[i];
        if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
            Fail("CopyFileA");
    }
    return Now() - started;
}

int Copies(const std::string& update, const std::string& appDir, int sizeMb, int runs) {
    Install(appDir);
    const std::string dataDir = Folder(update) + "\\Data";
    std::vector<double> updateTimes, plainTimes, peaks;
    for (int run = 0; run < runs; ++run) {
        RemoveTargets(appDir);
        const Run result = UpdateRun(update);
        updateTimes.push_back(result.milliseconds);
        peaks.push_back(result.peakKiB);
        RemoveTargets(appDir);
        plainTimes.push_back(PlainCopies(dataDir, appDir));
    }
    RemoveTargets(appDir);
    std::printf("copy_mb %d\ncopy_update_ms %.1f\ncopy_plain_ms %.1f\nfinished_update_peak_kib "
                "%.0f\n",
                sizeMb, Median(updateTimes), Median(plainTimes), Median(peaks));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "start") == 0)
        return StartUp(argv[2], argv[3], argv[4], std::atoi(argv[5]));
    if (argc == 6 && std::strcmp(argv[1], "copy") == 0)
        return Copies(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    std::fprintf(stderr, "usage: bench_driver start UPDATE MINIMAL APP_DIR RUNS |"
                         " copy UPDATE APP_DIR SIZE_MB RUNS\n");
    return 2;
}
