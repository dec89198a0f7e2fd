// The dialog's focus and keyboard rules: where the focus goes when the dialog
// is activated or a control can no longer take it, what Tab and the arrows
// move it to, which button Enter clicks (the active default, which the heavy
// border marks) and which one Escape clicks.
#pragma once

#include "Platform.h"
#include "ProgressBar.h"
#include "Win32.h"

#include <array>

struct DialogButton {
    HWND window = nullptr;
    bool isDefault = false;
    bool isCancel = false;
    bool activeDefault = false; // Enter clicks it
    void (DialogEvents::*click)() = nullptr;
};

using DialogButtons = std::array<DialogButton, 2>;

class DialogFocus {
  public:
    DialogFocus(DialogButtons& buttons, const ProgressBar& bar, DialogEvents& events)
        : buttons_(buttons), bar_(bar), events_(events) {}
    DialogFocus(const DialogFocus&) = delete;
    DialogFocus& operator=(const DialogFocus&) = delete;

    void SetDialog(HWND dialog) { dialog_ = dialog; }

    // Whether `window` is the dialog or one of its windowed controls.
    bool IsProgramControl(HWND window) const;
    // Runs the click handler of the button whose window sent BN_CLICKED. A
    // handler's error goes on to the window procedure, which shows it.
    void Clicked(HWND button);

    // The dialog became active.
    void Activated();
    // The dialog itself received the focus.
    void DialogFocused();
    // Gives the focus back to the control that had it, if there is one.
    void FocusActiveControl();
    // A control that can no longer take input hands the focus to the dialog.
    void MoveFocusOffControl(HWND control);
    void ControlFocused(HWND control);
    // The answer to a keyboard message offered before dispatch: nonzero drops it.
    LRESULT OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags);

  private:
    bool DialogKey(HWND control, WPARAM key);
    void MoveFocus(bool tabStopsOnly, bool forward);
    void FollowFocusWithDefault(HWND focused);
    void Click(DialogButton& button);

    DialogButtons& buttons_;
    const ProgressBar& bar_;
    DialogEvents& events_;
    HWND dialog_ = nullptr;
    HWND activeControl_ = nullptr;
    bool activatedOnce_ = false;
};
