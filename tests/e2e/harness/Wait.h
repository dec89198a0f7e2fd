// Waiting for what a test checks, never for a fixed moment: the emulated
// machine the suite also runs on is ten times slower than a desktop.
#pragma once

#include "Input.h"

#include <windows.h>

namespace e2e {

// The longest any one condition is waited for.
constexpr DWORD conditionTimeoutMs = 10000;

// Polls `done` until it holds or the deadline passes, letting events arrive between tries.
template <class Condition> bool waitUntil(Condition done, DWORD timeoutMs = conditionTimeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        drain(20);
    }
    return true;
}

// A message round trip to the thread of `window`: once it answers, that
// thread has finished what it was doing and is back at its messages. Sent
// messages come before queued input, so this does not prove that a key or
// click sent earlier has been handled: wait for what that input does.
bool settled(HWND window, DWORD timeoutMs = conditionTimeoutMs);

// Nothing of `window` or its children waits to be painted: their update
// regions are empty.
bool painted(HWND window);

} // namespace e2e
