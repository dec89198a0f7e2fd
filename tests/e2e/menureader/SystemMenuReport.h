// The system menus and icons of another process's top-level windows. Wine
// keeps a menu inside the process that made it (GetMenuItemCount on another
// process's menu fails), and neither answers WM_GETICON nor GetClassLongPtr for
// another process, so a hook DLL reads them there and leaves them in shared
// memory named after that process.
//
// The DLL is built with each Windows build, and its hooks are set by the
// system's rundll32 of the program's width (HookSetter.cpp): a DLL loads only
// into programs of its own width. So the memory has one layout for both, and
// handles travel as 64 bits.
#pragma once

#include <windows.h>

#include <cstdint>

namespace menureader {

constexpr int maxWindows = 8;
constexpr int maxItems = 24;
constexpr const char* hookProcName = "ReadSystemMenus";
constexpr int iconSize = 32;
// What a window's big icon is drawn on, to be compared pixel by pixel.
constexpr COLORREF iconBackground = RGB(0, 128, 128);

struct MenuItem {
    std::uint32_t id; // SC_*; 0 for a separator
    std::uint32_t type;
    std::uint32_t state;
};

struct WindowMenu {
    std::uint64_t window;
    std::uint64_t bigIcon; // WM_GETICON ICON_BIG
    std::uint64_t classIcon;
    std::uint64_t classSmallIcon;
    std::int32_t itemCount;
    MenuItem items[maxItems];
    std::uint32_t bigIconPixels[iconSize * iconSize]; // 0x00RRGGBB, top-down, on iconBackground
};

struct Report {
    LONG filled; // set last, once the rest is written
    std::int32_t windowCount;
    WindowMenu windows[maxWindows];
};

static_assert(sizeof(WindowMenu) == 4 * 8 + 4 + maxItems * 12 + iconSize * iconSize * 4 + 4,
              "one layout for both widths");
static_assert(sizeof(Report) == 8 + maxWindows * sizeof(WindowMenu), "one layout for both widths");

inline std::uint64_t toWire(const void* handle) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

template <class Handle> Handle fromWire(std::uint64_t value) {
    return reinterpret_cast<Handle>(static_cast<std::uintptr_t>(value));
}

// rundll32 DLL,SetHookUntilReleased TYPE PROC THREAD NAME sets the DLL's
// procedure PROC as a TYPE hook in THREAD, signals the event NAME-set, and
// keeps it until the event NAME-release is signalled.
constexpr const char* hookSetterName = "SetHookUntilReleased";

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

// And its WH_CALLWNDPROC hook which, on its first call, sets a WinEvent hook
// in context (Wine gives none to a hook out of context in another process)
// that writes the program's events for children of client areas, from
// EVENT_OBJECT_SHOW to EVENT_OBJECT_NAMECHANGE, as lines "EVENT CHILD" (hex,
// decimal) to a temporary file named after the process, made once it listens.
constexpr const char* recordWinEventsProcName = "RecordWinEvents";

inline void winEventLogPath(char (&path)[MAX_PATH], DWORD processId) {
    char folder[MAX_PATH - 32] = "";
    GetTempPathA(sizeof folder, folder);
    wsprintfA(path, "%se2e-win-events-%lu.txt", folder, processId);
}

} // namespace menureader
