// The message box in which an error that escapes a handler is shown.
#pragma once

#include "Text.h"
#include "Win32.h"

class ErrorBox {
  public:
    explicit ErrorBox(HWND ownerWindow) : owner_(ownerWindow) {}
    // Returns when the user has closed the box.
    void Show(const Text& message) const;

  private:
    HWND owner_;
};
