#include "DisabledWindows.h"

namespace {

struct Collecting {
    std::vector<HWND>& windows;
    HWND spared;
};

// Called by the system: nothing may leave it but its answer.
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM param) {
    auto* collecting = reinterpret_cast<Collecting*>(param);
    if (window == collecting->spared || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    try {
        collecting->windows.push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE; // no room for more: those found so far are disabled
    }
}

} // namespace

void DisabledWindows::DisableThreadWindows(HWND spared) noexcept {
    const auto first = windows_.size();
    Collecting collecting = {windows_, spared};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&collecting));
    for (auto i = first; i < windows_.size(); ++i)
        EnableWindow(windows_[i], FALSE);
}

void DisabledWindows::EnableAgain() noexcept {
    std::vector<HWND> windows;
    windows.swap(windows_); // enabling one may come back here
    for (HWND window : windows) {
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    }
}
