// The system menus and icons of another process's top-level windows. Wine
// keeps a menu inside the process that made it (GetMenuItemCount on another
// process's menu fails), and neither answers WM_GETICON nor GetClassLongPtr for
// another process, so a hook DLL reads them there and leaves them in shared
// memory named after that process.
#pragma once

#include <windows.h>

namespace menureader {

constexpr int maxWindows = 8;
constexpr int maxItems = 24;
constexpr const char* hookProcName = "ReadSystemMenus";
constexpr int iconSize = 32;
// What a window's big icon is drawn on, to be compared pixel by pixel.
constexpr COLORREF iconBackground = RGB(0, 128, 128);

struct MenuItem {
    UINT id; // SC_*; 0 for a separator
    UINT type;
    UINT state;
};

struct WindowMenu {
    HWND window;
    int itemCount;
    MenuItem items[maxItems];
    HICON bigIcon; // WM_GETICON ICON_BIG
    HICON classIcon;
    HICON classSmallIcon;
    DWORD bigIconPixels[iconSize * iconSize]; // 0x00RRGGBB, top-down, on iconBackground
};

struct Report {
    LONG filled; // set last, once the rest is written
    int windowCount;
    WindowMenu windows[maxWindows];
};

inline void mappingName(char (&name)[64], DWORD processId) {
    wsprintfA(name, "e2e-system-menus-%lu", processId);
}

// The same DLL's CBT hook, which refuses to make windows of this class.
constexpr const char* refuseProcName = "RefuseProgressBar";
constexpr const char* refusedClass = "TProgressBar";

// And its WH_CALLWNDPROC hook, which counts the keyboard messages offered to
// the program's controls: WM_KEYDOWN + n comes as keyOfferBase + n, and is
// counted at index n of keyOfferCount LONGs in memory named after the process.
constexpr const char* countKeyOffersProcName = "CountKeyOffers";
constexpr UINT keyOfferBase = WM_KEYDOWN + 0xBC00;
constexpr UINT keyOfferCount = 16;
constexpr DWORD keyOffersSize = keyOfferCount * sizeof(LONG);

inline void keyOffersName(char (&name)[64], DWORD processId) {
    wsprintfA(name, "e2e-key-offers-%lu", processId);
}

} // namespace menureader
