// The dialog's windowed controls: classes of their own, derived from the
// system's button and progress bar classes, so that the program sees their
// focus changes and keys before the system's own handling does.
#pragma once

#include "DialogLayout.h"
#include "Win32.h"

extern const char* const ButtonClassName;
extern const char* const ProgressBarClassName;

void RegisterButtonClass(HINSTANCE instance);
// The common controls must be loaded first.
void RegisterProgressBarClass(HINSTANCE instance);

HWND CreateChildControl(const char* className, const char* text, DWORD style, const ControlBox& box,
                        HWND dialog, int id);

// What a child control tells the dialog it belongs to.
class ChildControlOwner {
  public:
    virtual void ControlFocused(HWND control) = 0;
    // The answer to a keyboard message offered before dispatch: nonzero drops it.
    virtual LRESULT OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags) = 0;
    // An error that escaped the handling of one of the control's messages.
    virtual void ShowError(const char* message) noexcept = 0;

  protected:
    ~ChildControlOwner() = default;
};

// The dialog stores its ChildControlOwner here, in its window's user data.
ChildControlOwner* ChildControlOwnerOf(HWND dialog);

// What a window procedure answers for a message whose handling raised an
// error, once the error is shown: an offered key had been taken by the
// handler that its button ran.
inline LRESULT AnswerAfterError(UINT message) {
    return message == KeyDownNotification ? 1 : 0;
}
