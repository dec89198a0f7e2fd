// The system menus of another process's top-level windows. Wine keeps a menu
// inside the process that made it (GetMenuItemCount on another process's menu
// fails), so a hook DLL reads the menus there and leaves them in shared memory
// named after that process.
#pragma once

#include <windows.h>

namespace menureader {

constexpr int maxWindows = 8;
constexpr int maxItems = 24;
constexpr const char* hookProcName = "ReadSystemMenus";

struct MenuItem {
    UINT id; // SC_*; 0 for a separator
    UINT type;
    UINT state;
};

struct WindowMenu {
    HWND window;
    int itemCount;
    MenuItem items[maxItems];
};

struct Report {
    LONG filled; // set last, once the rest is written
    int windowCount;
    WindowMenu windows[maxWindows];
};

inline void mappingName(char (&name)[64], DWORD processId) {
    wsprintfA(name, "e2e-system-menus-%lu", processId);
}

} // namespace menureader
