// Hooked into the program under test as a WH_CALLWNDPROC hook: sets, once, a
// WinEvent hook in context that writes down the program's events for children
// of client areas where the test reads them.
#include "SystemMenuReport.h"

namespace {

char logPath[MAX_PATH] = "";

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object != OBJID_CLIENT || child == CHILDID_SELF) {
        return;
    }
    char line[32];
    const int length = wsprintfA(line, "%lx %ld\n", event, child);
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    RecordWinEvents(int code, WPARAM wParam, LPARAM lParam) {
    // Pinned: the WinEvent hook outlives this one.
    HMODULE dll = nullptr;
    if (logPath[0] == '\0' &&
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&Record), &dll)) {
        menureader::winEventLogPath(logPath, GetCurrentProcessId());
        if (SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, dll, Record,
                            GetCurrentProcessId(), 0, WINEVENT_INCONTEXT)) {
            CloseHandle(CreateFileA(logPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
