// rundll32's entry into the hook DLL: sets one of its procedures as a hook in
// the program's thread from a process of the program's own width, which the
// 64-bit test program is not when the program under test is 32-bit.
#include "SystemMenuReport.h"

#include <cstdio>
#include <string>

namespace {

HMODULE thisDll() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisDll), &module);
    return module;
}

} // namespace

extern "C" __declspec(dllexport) void CALLBACK
    SetHookUntilReleased(HWND, HINSTANCE, LPSTR commandLine, int) {
    int type = 0;
    char proc[64] = "";
    unsigned long thread = 0;
    char name[64] = "";
    if (std::sscanf(commandLine, "%d %63s %lu %63s", &type, proc, &thread, name) != 4) {
        return;
    }
    HANDLE set = OpenEventA(EVENT_MODIFY_STATE, FALSE, (std::string(name) + "-set").c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, (std::string(name) + "-release").c_str());
    HMODULE dll = thisDll();
    auto hookProc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, proc)));
    HHOOK hook = hookProc ? SetWindowsHookExA(type, hookProc, dll, thread) : nullptr;
    if (hook != nullptr && set != nullptr && release != nullptr) {
        SetEvent(set);
        WaitForSingleObject(release, 120000);
        UnhookWindowsHookEx(hook);
    }
    for (HANDLE event : {set, release}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}
