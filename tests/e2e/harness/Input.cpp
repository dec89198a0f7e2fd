#include "Input.h"
#include "Wait.h"

#include <vector>

namespace e2e {

namespace {

INPUT keyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT mouseInput(DWORD flags, LONG x, LONG y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

} // namespace

void drain(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    Sleep(20);
}

bool bringToFront(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    SetForegroundWindow(window);
    while (GetForegroundWindow() != window) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        drain(20);
        SetForegroundWindow(window);
    }
    return true;
}

InputBatch& InputBatch::key(WORD key, unsigned modifiers) {
    const WORD held[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int i = 0; i < 3; ++i) {
        if (modifiers & (1u << i)) {
            inputs_.push_back(keyInput(held[i], false));
        }
    }
    inputs_.push_back(keyInput(key, false));
    inputs_.push_back(keyInput(key, true));
    for (int i = 2; i >= 0; --i) {
        if (modifiers & (1u << i)) {
            inputs_.push_back(keyInput(held[i], true));
        }
    }
    return *this;
}

InputBatch& InputBatch::click(POINT screen) {
    // Absolute coordinates are in 0..65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG x = MulDiv(screen.x, 65535, width - 1);
    const LONG y = MulDiv(screen.y, 65535, height - 1);
    // Each event carries the place: the display's own pointer, which may still
    // follow a window's earlier place, never moves the button presses.
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs_.push_back(mouseInput(at, x, y));
    inputs_.push_back(mouseInput(at | MOUSEEVENTF_LEFTDOWN, x, y));
    inputs_.push_back(mouseInput(at | MOUSEEVENTF_LEFTUP, x, y));
    return *this;
}

void InputBatch::send() {
    SendInput(static_cast<UINT>(inputs_.size()), inputs_.data(), sizeof(INPUT));
    inputs_.clear();
}

void pressKey(WORD key, unsigned modifiers) {
    InputBatch().key(key, modifiers).send();
}

void clickAt(POINT screen) {
    InputBatch().click(screen).send();
}

bool clickCenter(HWND window) {
    POINT center{};
    const bool there =
        settled(window) && waitUntil([&] {
            RECT rect{};
            GetWindowRect(window, &rect);
            center = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            return WindowFromPoint(center) == window;
        });
    if (there) {
        clickAt(center);
    }
    return there;
}

} // namespace e2e
