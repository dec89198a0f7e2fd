#include "ErrorBox.h"

#include "DisabledWindows.h"
#include "ErrorText.h"

namespace {

POINT Centre(const RECT& rect) {
    POINT centre = {rect.left + (rect.right - rect.left) / 2,
                    rect.top + (rect.bottom - rect.top) / 2};
    return centre;
}

void MoveTo(HWND window, POINT point) {
    SetWindowPos(window, nullptr, point.x, point.y, 0, 0,
                 SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOSIZE);
}

// The box comes up on the monitor the user is looking at: the owner window is
// moved there for its time when it is elsewhere.
class OwnerOnActiveMonitor {
  public:
    OwnerOnActiveMonitor(HWND owner, HWND active) : owner_(owner) {
        HMONITOR activeMonitor = MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST);
        HMONITOR ownerMonitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info;
        info.cbSize = sizeof info;
        if (activeMonitor == ownerMonitor || !GetMonitorInfoA(activeMonitor, &info))
            return;
        GetWindowRect(owner, &saved_);
        moved_ = true;
        MoveTo(owner, Centre(info.rcMonitor));
    }
    ~OwnerOnActiveMonitor() {
        if (moved_)
            MoveTo(owner_, Centre(saved_));
    }
    OwnerOnActiveMonitor(const OwnerOnActiveMonitor&) = delete;
    OwnerOnActiveMonitor& operator=(const OwnerOnActiveMonitor&) = delete;

  private:
    HWND owner_;
    RECT saved_ = {0, 0, 0, 0};
    bool moved_ = false;
};

} // namespace

void ErrorBox::Show(const char* message) const noexcept {
    HWND capture = GetCapture();
    if (capture != nullptr)
        SendMessageA(capture, WM_CANCELMODE, 0, 0);

    Text text;
    try {
        text = ErrorBoxText(message);
    } catch (...) {
        // No room for the full stop: the message goes as it is.
    }
    char caption[256] = "";
    GetWindowTextA(owner_, caption, sizeof caption);

    HWND active = GetActiveWindow();
    {
        OwnerOnActiveMonitor placement(owner_, active);
        // Nothing of the program takes input while the box is up.
        DisabledWindows disabled;
        disabled.DisableThreadWindows(nullptr);
        MessageBoxA(owner_, text.empty() ? message : text.c_str(), caption, MB_OK | MB_ICONSTOP);
    }
    SetActiveWindow(active);
}
