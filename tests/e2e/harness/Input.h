// Real keyboard and mouse input, as a person would give it.
#pragma once

#include <windows.h>

#include <vector>

namespace e2e {

enum Modifier : unsigned { NoModifier = 0, Shift = 1, Ctrl = 2, Alt = 4 };

// Lets this process's own window messages and X events arrive for `ms`: a
// MsgWaitForMultipleObjects + PeekMessage loop. The step between two polls
// of a condition (Wait.h); it waits for nothing in the program under test.
void drain(DWORD ms);

// SetForegroundWindow, then waits until `window` is the foreground window.
bool bringToFront(HWND window, DWORD timeoutMs = 2000);

// Presses and releases `key` (VK_*) with the modifiers held, to the foreground window.
void pressKey(WORD key, unsigned modifiers = NoModifier);
// Left click at a point in screen coordinates.
void clickAt(POINT screen);
// Left click at the middle of a window, once its thread has handled what came
// before and the window is what lies under that point; false, and no click,
// when it never is within the condition limit.
[[nodiscard]] bool clickCenter(HWND window);

// Key presses and clicks sent in one SendInput call, so that they are queued
// back to back: a program busy with what the first one started (a run that
// looks at its input only between files) finds the others waiting.
class InputBatch {
  public:
    InputBatch& key(WORD key, unsigned modifiers = NoModifier);
    InputBatch& click(POINT screen);
    void send();

  private:
    std::vector<INPUT> inputs_;
};

} // namespace e2e
