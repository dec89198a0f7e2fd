// Hooked into the program under test as a CBT hook: refuses to make the
// progress bar's window, as a system short of window resources would, so that
// the run's handler fails where it first shows the bar.
#include "SystemMenuReport.h"

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    RefuseProgressBar(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char name[32] = "";
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (std::strcmp(name, menureader::refusedClass) == 0) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
