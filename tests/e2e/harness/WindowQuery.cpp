#include "WindowQuery.h"

#include <commctrl.h>

#include <vector>

namespace e2e {

namespace {

struct TopLevelSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId &&
        (!search->className || className(window) == search->className)) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// Another process's window may hang; never wait on it for long.
LRESULT sendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

GUITHREADINFO guiInfoOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

} // namespace

std::vector<HWND> topLevelWindows(DWORD processId, const char* className) {
    TopLevelSearch search{processId, className, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForVisibleWindow(DWORD processId, const char* className, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        for (HWND window : topLevelWindows(processId, className)) {
            if (IsWindowVisible(window)) {
                return window;
            }
        }
        if (GetTickCount64() >= deadline) {
            return nullptr;
        }
        Sleep(20);
    }
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND childById(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

HWND findChild(HWND parent, const char* wantedClass, const char* text) {
    for (HWND child : childWindows(parent)) {
        if (className(child) == wantedClass && (!text || windowText(child) == text)) {
            return child;
        }
    }
    return nullptr;
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string textByMessage(HWND window) {
    const auto length = static_cast<size_t>(sendBounded(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    const auto copied = static_cast<size_t>(
        sendBounded(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied);
    return text;
}

std::string className(HWND window) {
    char name[256];
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<size_t>(length > 0 ? length : 0));
}

LONG_PTR style(HWND window) {
    return GetWindowLongPtrA(window, GWL_STYLE);
}

LONG_PTR exStyle(HWND window) {
    return GetWindowLongPtrA(window, GWL_EXSTYLE);
}

bool hasStyle(HWND window, LONG_PTR bits) {
    return (style(window) & bits) == bits;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT clientRectOnScreen(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

SIZE clientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HWND focusOf(HWND window) {
    return guiInfoOf(window).hwndFocus;
}

HWND activeOf(HWND window) {
    return guiInfoOf(window).hwndActive;
}

int progressPosition(HWND bar) {
    return static_cast<int>(sendBounded(bar, PBM_GETPOS, 0, 0));
}

std::pair<int, int> progressRange(HWND bar) {
    // The range must come back through the return values: a PBRANGE pointer
    // would point into this process, not the progress bar's.
    const int low = static_cast<int>(sendBounded(bar, PBM_GETRANGE, TRUE, 0));
    const int high = static_cast<int>(sendBounded(bar, PBM_GETRANGE, FALSE, 0));
    return {low, high};
}

} // namespace e2e
