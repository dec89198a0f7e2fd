// Runs Update.exe and its baselines under Wine; prints one line per sample,
// which bench/run gathers into medians, spreads and ratios.
//
//   bench_driver install APP_DIR
//       registers APP_DIR as the installation Update.exe looks for
//   bench_driver start UPDATE_EXE MINIMAL_EXE RUNS
//       process start to first visible window, both programs in turn, and the
//       peak working set once shown:  "start_update MS KIB", "start_minimal MS KIB"
//   bench_driver required UPDATE_EXE REQUIRED_EXE RUNS
//       the same against the baseline with the dialog's required work:
//       "start_update_required MS", "start_required MS"
//   bench_driver steps STEPS_EXE RUNS STEPS_FILE
//       the marks of Update.exe's start-up steps, by its bench build, which
//       writes them to STEPS_FILE at its first paint: "step N MS NAME", the
//       time from process start to the end of step N of that run
//   bench_driver run UPDATE_EXE SIZE_MB
//       実　行 to 閉じる with the Data files beside UPDATE_EXE, and the peak
//       working set when finished:  "run_update SIZE_MB MS KIB"
//   bench_driver plain PLAIN_EXE DATA_DIR APP_DIR SIZE_MB [durable]
//       the same five copies by bench_plain_copy, timed the same way:
//       "run_plain SIZE_MB MS"; with durable, each flushed and renamed into
//       place: "run_durable SIZE_MB MS"
//
// Times in milliseconds, memory in KiB. The targets must not exist beforehand.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

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

PROCESS_INFORMATION Start(const std::string& program, const std::string& arguments = "") {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\" " + arguments;
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

int StartUp(const std::string& update, const std::string& minimal, int runs) {
    for (int run = 0; run < runs; ++run) {
        // Alternating which goes first keeps a slow spell of the machine from
        // landing on one side only.
        for (int turn = 0; turn < 2; ++turn) {
            const bool isUpdate = (run + turn) % 2 == 0;
            const Shown shown =
                TimeToWindow(isUpdate ? update : minimal, isUpdate ? "TForm1" : "BenchMinimal");
            std::printf("%s %.2f %.0f\n", isUpdate ? "start_update" : "start_minimal",
                        shown.milliseconds, shown.peakKiB);
        }
    }
    return 0;
}

int StartUpRequired(const std::string& update, const std::string& required, int runs) {
    for (int run = 0; run < runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool isUpdate = (run + turn) % 2 == 0;
            const Shown shown =
                TimeToWindow(isUpdate ? update : required, isUpdate ? "TForm1" : "BenchRequired");
            std::printf("%s %.2f\n", isUpdate ? "start_update_required" : "start_required",
                        shown.milliseconds);
        }
    }
    return 0;
}

// The recorder's lines, "COUNT NAME", once the program has written them.
std::string ReadSteps(const PROCESS_INFORMATION& process, const std::string& file) {
    for (int i = 0; i < 10000; ++i) {
        HANDLE handle =
            CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            char buffer[8192];
            DWORD read = 0;
            ReadFile(handle, buffer, sizeof buffer - 1, &read, nullptr);
            CloseHandle(handle);
            if (read > 0)
                return std::string(buffer, read);
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            Fail("the program ended before writing its steps");
    }
    Fail("no steps within 10 s");
}

int StartUpSteps(const std::string& steps, int runs, const std::string& file) {
    SetEnvironmentVariableA("UPDATE_STARTUP_STEPS_FILE", file.c_str());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        DeleteFileA(file.c_str());
        LARGE_INTEGER started;
        QueryPerformanceCounter(&started);
        PROCESS_INFORMATION process = Start(steps);
        const std::string lines = ReadSteps(process, file);
        End(process);
        size_t at = 0;
        for (int step = 0; at < lines.size(); ++step) {
            size_t end = lines.find('\n', at);
            if (end == std::string::npos)
                end = lines.size();
            const std::string line = lines.substr(at, end - at);
            at = end + 1;
            const size_t blank = line.find(' ');
            const long long count = std::atoll(line.substr(0, blank).c_str());
            std::printf("step %d %.2f %s\n", step,
                        1000.0 * static_cast<double>(count - started.QuadPart) /
                            static_cast<double>(frequency.QuadPart),
                        line.substr(blank + 1).c_str());
        }
    }
    return 0;
}

// Presses button 1 of the program's window and times it until the button reads 閉じる.
double TimedRun(const PROCESS_INFORMATION& process, const char* className) {
    HWND window = WaitForWindow(process, className);
    HWND button = GetDlgItem(window, 1);
    // Nobody presses 実　行 within a moment of the dialog appearing: what the
    // program does while it settles belongs to its start, not to the run.
    Sleep(300);
    const double started = Now();
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    char text[32] = "";
    while (std::strcmp(text, "閉じる") != 0) {
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            Fail("the program ended during the run");
        if (Now() - started > 600000)
            Fail("no 閉じる within 600 s");
        GetWindowTextA(button, text, sizeof text);
    }
    return Now() - started;
}

int UpdateRun(const std::string& update, int sizeMb) {
    PROCESS_INFORMATION process = Start(update);
    const double milliseconds = TimedRun(process, "TForm1");
    std::printf("run_update %d %.2f %.0f\n", sizeMb, milliseconds,
                PeakWorkingSetKiB(process.hProcess));
    End(process);
    return 0;
}

int PlainRun(const std::string& plain, const std::string& dataDir, const std::string& appDir,
             int sizeMb, bool durable) {
    PROCESS_INFORMATION process =
        Start(plain, "\"" + dataDir + "\" \"" + appDir + "\"" + (durable ? " durable" : ""));
    std::printf("%s %d %.2f\n", durable ? "run_durable" : "run_plain", sizeMb,
                TimedRun(process, "BenchPlainCopy"));
    End(process);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "install" && argc == 3) {
        Install(argv[2]);
        return 0;
    }
    if (mode == "start" && argc == 5)
        return StartUp(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "required" && argc == 5)
        return StartUpRequired(argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "steps" && argc == 5)
        return StartUpSteps(argv[2], std::atoi(argv[3]), argv[4]);
    if (mode == "run" && argc == 4)
        return UpdateRun(argv[2], std::atoi(argv[3]));
    if (mode == "plain" && (argc == 6 || (argc == 7 && std::strcmp(argv[6], "durable") == 0)))
        return PlainRun(argv[2], argv[3], argv[4], std::atoi(argv[5]), argc == 7);
    std::fprintf(stderr, "usage: bench_driver install APP_DIR | start UPDATE MINIMAL RUNS |"
                         " required UPDATE REQUIRED RUNS | steps STEPS RUNS FILE | run UPDATE "
                         "SIZE_MB | plain PLAIN DATA_DIR APP_DIR SIZE_MB [durable]\n");
    return 2;
}
