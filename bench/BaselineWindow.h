// The window the baseline programs show: one plain top-level window the size
// of the updater's dialog, and the message loop that keeps it up.
#pragma once

#include <windows.h>

inline LRESULT BaselineWindowDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND CreateBaselineWindow(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass))
        return nullptr;
    return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 487, 239, nullptr, nullptr, instance, nullptr);
}

inline int RunBaselineWindow(HWND window, int show) {
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
