// Loaded into the program under test by a WH_GETMESSAGE hook: reads the system
// menus and icons of its thread's top-level windows from inside, where Wine
// lets them be read, into the shared memory the test made for that process.
#include "SystemMenuReport.h"

namespace {

void drawBigIcon(menureader::WindowMenu& entry) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = menureader::iconSize;
    info.bmiHeader.biHeight = -menureader::iconSize; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr) {
        return;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, menureader::iconSize, menureader::iconSize};
    HBRUSH brush = CreateSolidBrush(menureader::iconBackground);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (entry.bigIcon != nullptr) {
        DrawIcon(dc, 0, 0, entry.bigIcon);
    }
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < menureader::iconSize * menureader::iconSize; ++i) {
        entry.bigIconPixels[i] = pixels[i] & 0xFFFFFF;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

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
    entry.window = window;
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
    entry.bigIcon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    entry.classIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    entry.classSmallIcon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    drawBigIcon(entry);
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
