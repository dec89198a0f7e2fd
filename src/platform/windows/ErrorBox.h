// The message box in which an error that escapes a handler is shown.
#pragma once

#include "Win32.h"

class ErrorBox {
  public:
    explicit ErrorBox(HWND ownerWindow) : owner_(ownerWindow) {}
    // Returns when the user has closed the box. Called where an error is
    // caught before it reaches the system's frames, so it raises none itself.
    void Show(const char* message) const noexcept;

  private:
    HWND owner_;
};
