// Loaded into the program under test by a WH_GETMESSAGE hook: reads the system
// menus and icons of its thread's top-level windows from inside, where Wine
// lets them be read, into the shared memory the test made for that process.
#include "SystemMenuReport.h"
#include "harness/Screen.h"

#include <algorithm>

namespace {

BOOL CALLBACK addWindow(HWND window, LPARAM param) {
    auto* report = reinterpret_cast<menureader::Report*>(param);
    if (report->windowCount >= menureader::maxWindows) {
        return FALSE;
    }
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        return TRUE;
    }
    menureader::WindowMenu& entry = report->windows[report->windowCount++];
    entry.window = menureader::toWire(window);
    entry.itemCount = 0;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count && i < menureader::maxItems; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            entry.items[entry.itemCount++] = {info.wID, info.fType, info.fState};
        }
    }
    const auto bigIcon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    entry.bigIcon = menureader::toWire(bigIcon);
    entry.classIcon = GetClassLongPtrA(window, GCLP_HICON);
    entry.classSmallIcon = GetClassLongPtrA(window, GCLP_HICONSM);
    e2e::Capture picture = e2e::drawIcon(bigIcon, menureader::iconSize, menureader::iconSize,
                                         menureader::iconBackground);
    std::copy(picture.pixels().begin(), picture.pixels().end(), entry.bigIconPixels);
    return TRUE;
}

// Once per request: the test empties the memory before each.
void reportMenus() {
    char name[64];
    menureader::mappingName(name, GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE | FILE_MAP_READ, FALSE, name);
    if (mapping == nullptr) {
        return;
    }
    auto* report = static_cast<menureader::Report*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(menureader::Report)));
    if (report != nullptr && report->filled == 0) {
        report->windowCount = 0;
        EnumThreadWindows(GetCurrentThreadId(), addWindow, reinterpret_cast<LPARAM>(report));
        InterlockedExchange(&report->filled, 1);
    }
    if (report != nullptr) {
        UnmapViewOfFile(report);
    }
    CloseHandle(mapping);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReadSystemMenus(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        reportMenus();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
