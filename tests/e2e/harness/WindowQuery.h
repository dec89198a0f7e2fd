// Finding another process's windows and reading their state.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Top-level windows of process `processId`, visible or not; only those of
// class `className` unless it is null.
std::vector<HWND> topLevelWindows(DWORD processId, const char* className = nullptr);

// The first visible top-level window of that class, or null at the deadline.
HWND waitForVisibleWindow(DWORD processId, const char* className, DWORD timeoutMs);

// Direct and indirect children, in Z order.
std::vector<HWND> childWindows(HWND parent);
// The child with this control ID (GetDlgItem); null when there is none.
HWND childById(HWND parent, int id);
// The first child of that class (and text, when given); null when there is none.
HWND findChild(HWND parent, const char* className, const char* text = nullptr);

std::string windowText(HWND window);    // GetWindowTextA
std::string textByMessage(HWND window); // WM_GETTEXTLENGTH / WM_GETTEXT
std::string className(HWND window);
LONG_PTR style(HWND window);
LONG_PTR exStyle(HWND window);
bool hasStyle(HWND window, LONG_PTR bits);

RECT windowRect(HWND window); // screen coordinates, frame included
RECT clientRectOnScreen(HWND window);
SIZE clientSize(HWND window);

// The keyboard focus and active window of the thread that owns `window`.
HWND focusOf(HWND window);
HWND activeOf(HWND window);

// Progress bar position and range (PBM_GETPOS, PBM_GETRANGE).
int progressPosition(HWND bar);
std::pair<int, int> progressRange(HWND bar);

} // namespace e2e
