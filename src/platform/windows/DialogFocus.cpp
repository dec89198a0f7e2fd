#include "DialogFocus.h"

namespace {

bool Held(int key) {
    return GetKeyState(key) < 0;
}

bool Usable(HWND window) {
    return window != nullptr && IsWindow(window) && IsWindowVisible(window) &&
           IsWindowEnabled(window);
}

} // namespace

bool DialogFocus::IsProgramControl(HWND window) const {
    return window != nullptr && (window == dialog_ || window == buttons_[0].window ||
                                 window == buttons_[1].window || window == bar_.Handle());
}

void DialogFocus::Clicked(HWND button) {
    for (DialogButton& candidate : buttons_) {
        if (button == candidate.window)
            Click(candidate);
    }
}

void DialogFocus::Click(DialogButton& button) {
    (events_.*button.click)();
}

void DialogFocus::MoveFocusOffControl(HWND control) {
    if (control == nullptr)
        return;
    if (activeControl_ == control)
        activeControl_ = nullptr;
    if (GetFocus() == control)
        SetFocus(dialog_);
}

void DialogFocus::FocusActiveControl() {
    if (Usable(activeControl_))
        SetFocus(activeControl_);
}

// On its first activation the dialog focuses the first tab stop that can take
// input; later, the control that had the focus, or else the dialog itself.
void DialogFocus::Activated() {
    if (!activatedOnce_) {
        activatedOnce_ = true;
        if (!Usable(activeControl_)) {
            for (const DialogButton& button : buttons_) {
                if (Usable(button.window)) {
                    activeControl_ = button.window;
                    break;
                }
            }
        }
    }
    if (Usable(activeControl_))
        SetFocus(activeControl_);
    else
        SetFocus(dialog_);
}

void DialogFocus::DialogFocused() {
    FocusActiveControl();
    if (GetFocus() == dialog_)
        FollowFocusWithDefault(dialog_);
}

void DialogFocus::ControlFocused(HWND control) {
    activeControl_ = control;
    FollowFocusWithDefault(control);
}

// Enter clicks the focused button, or the default button when the focus is
// elsewhere; the heavy border always shows which.
void DialogFocus::FollowFocusWithDefault(HWND focused) {
    bool focusOnButton = false;
    for (const DialogButton& button : buttons_)
        focusOnButton = focusOnButton || button.window == focused;
    for (DialogButton& button : buttons_) {
        button.activeDefault = focusOnButton ? button.window == focused : button.isDefault;
        const LONG_PTR style = GetWindowLongPtrA(button.window, GWL_STYLE);
        const bool looksDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (looksDefault != button.activeDefault)
            SendMessageA(button.window, BM_SETSTYLE,
                         button.activeDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

LRESULT DialogFocus::OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return 0;
    // Focus rectangles and underlines show once the keyboard is in use.
    if (key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)
        SendMessageA(dialog_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    else if (key == VK_MENU)
        SendMessageA(dialog_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    if (message != WM_KEYDOWN)
        return 0;

    MSG keyMessage = {};
    keyMessage.hwnd = control;
    keyMessage.message = message;
    keyMessage.wParam = key;
    keyMessage.lParam = flags;
    const auto wants =
        SendMessageA(control, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&keyMessage));
    bool dialogKey = false;
    switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
    case VK_EXECUTE:
        dialogKey = (wants & DLGC_WANTALLKEYS) == 0;
        break;
    case VK_TAB:
        dialogKey = (wants & DLGC_WANTTAB) == 0;
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        dialogKey = (wants & DLGC_WANTARROWS) == 0;
        break;
    default:
        break;
    }
    return dialogKey && DialogKey(control, key) ? 1 : 0;
}

bool DialogFocus::DialogKey(HWND control, WPARAM key) {
    if (key == VK_TAB && !Held(VK_MENU) && !Held(VK_CONTROL)) {
        MoveFocus(true, !Held(VK_SHIFT));
        return true;
    }
    if ((key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) && !Held(VK_MENU)) {
        if (control == dialog_ || !IsProgramControl(GetFocus()) || GetFocus() == dialog_)
            return false; // no control has the focus
        MoveFocus(false, key == VK_RIGHT || key == VK_DOWN);
        return true;
    }
    if (Held(VK_SHIFT) || Held(VK_CONTROL) || Held(VK_MENU))
        return false;
    for (DialogButton& button : buttons_) {
        const bool takes =
            (key == VK_RETURN && button.activeDefault) || (key == VK_ESCAPE && button.isCancel);
        if (takes && Usable(button.window)) {
            Click(button);
            return true;
        }
    }
    return false;
}

// Tab order: Button1, Button2, ProgressBar1. Tab visits tab stops only; the
// arrows visit every windowed control that can take the focus.
void DialogFocus::MoveFocus(bool tabStopsOnly, bool forward) {
    const HWND order[3] = {buttons_[0].window, buttons_[1].window, bar_.Handle()};
    const int count = 3;
    auto eligible = [&](HWND window) {
        return Usable(window) &&
               (!tabStopsOnly || (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP) != 0);
    };
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i] != nullptr && order[i] == GetFocus())
            current = i;
    }
    for (int step = 0; step < count; ++step) {
        int index;
        if (current < 0)
            index = forward ? step : count - 1 - step;
        else
            index = ((current + (forward ? step + 1 : -(step + 1))) % count + count) % count;
        if (eligible(order[index])) {
            SetFocus(order[index]);
            return;
        }
    }
}
