// Windows disabled together and enabled again together: the thread's
// visible, enabled top-level windows, while something modal is up.
#pragma once

#include "Win32.h"

#include <vector>

class DisabledWindows {
  public:
    DisabledWindows() = default;
    ~DisabledWindows() { EnableAgain(); }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

    // Disables every visible, enabled top-level window of the calling
    // thread but `spared`.
    void DisableThreadWindows(HWND spared) noexcept;
    // Enables again each window so disabled that still exists.
    void EnableAgain() noexcept;

  private:
    std::vector<HWND> windows_;
};
