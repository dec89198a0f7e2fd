#include "Showing.h"

#include "Centring.h"
#include "DialogWindow.h"
#include "ErrorBox.h"
#include "EventLoop.h"
#include "StartupSteps.h"

#include <exception>

int StartupShowCommand() {
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

template <class Action> void DialogShowing::WithoutAnimation(Action action) {
    ANIMATIONINFO animation;
    animation.cbSize = sizeof animation;
    const bool known =
        SystemParametersInfoA(SPI_GETANIMATION, sizeof animation, &animation, 0) != 0;
    const int previous = animation.iMinAnimate;
    if (known && previous != 0) {
        animation.iMinAnimate = 0;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
    action();
    if (known && previous != 0) {
        animation.iMinAnimate = previous;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
}

void DialogShowing::ShowAtStart() {
    const int command = StartupShowCommand();
    if (command == SW_SHOWMINNOACTIVE) {
        // Only the taskbar button: the dialog is first shown, and its show
        // handler first runs, when the user restores the program.
        startedMinimized_ = true;
        Minimize();
        return;
    }
    ShowDialog(command == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void DialogShowing::ShowDialog(int showCommand) {
    HWND dialog = dialog_.Handle();
    if (!IsWindowVisible(owner_))
        SetWindowPos(owner_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    MARK_STARTUP_STEP("owner window shown");
    if (!shownOnce_) {
        try {
            dialog_.Events().FormShow();
        } catch (const std::exception& error) {
            errorBox_.Show(error.what()); // before the dialog is on screen
        }
        MARK_STARTUP_STEP("FormShow: the rest (captions, buttons)");
        Centre();
        MARK_STARTUP_STEP("centring");
        shownOnce_ = true;
    }
    ShowWindow(dialog, showCommand);
    MARK_STARTUP_STEP("ShowWindow");
}

// Centred on the whole desktop, whichever monitors it spans, taskbars
// included; the position is fixed at the first showing.
void DialogShowing::Centre() {
    RECT outer;
    GetWindowRect(dialog_.Handle(), &outer);
    const int x = CentredOnDesktop(GetSystemMetrics(SM_XVIRTUALSCREEN),
                                   GetSystemMetrics(SM_CXVIRTUALSCREEN), outer.right - outer.left);
    const int y = CentredOnDesktop(GetSystemMetrics(SM_YVIRTUALSCREEN),
                                   GetSystemMetrics(SM_CYVIRTUALSCREEN), outer.bottom - outer.top);
    SetWindowPos(dialog_.Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogShowing::Minimize() {
    if (IsIconic(owner_))
        return;
    SetActiveWindow(owner_);
    HWND dialog = dialog_.Handle();
    if (IsWindowEnabled(dialog)) {
        // The owner takes the dialog's place and width, so that the system
        // animates the minimizing from where the dialog is.
        RECT outer;
        GetWindowRect(dialog, &outer);
        SetWindowPos(owner_, dialog, outer.left, outer.top, outer.right - outer.left, 0,
                     SWP_SHOWWINDOW);
        DefWindowProcA(owner_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        WithoutAnimation([&] { ShowWindow(owner_, SW_MINIMIZE); });
    }
}

void DialogShowing::Restore() {
    if (!IsIconic(owner_))
        return;
    SetActiveWindow(owner_);
    if (IsWindowEnabled(dialog_.Handle()))
        DefWindowProcA(owner_, WM_SYSCOMMAND, SC_RESTORE, 0);
    else
        WithoutAnimation([&] { ShowWindow(owner_, SW_RESTORE); });
    SetWindowPos(owner_, HWND_TOP, GetSystemMetrics(SM_CXSCREEN) / 2,
                 GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, SWP_SHOWWINDOW);
    if (startedMinimized_ && !IsWindowVisible(dialog_.Handle())) {
        startedMinimized_ = false;
        ShowDialog(SW_SHOWNORMAL);
    }
    dialog_.FocusActiveControl();
}

void DialogShowing::EndSession() {
    loop_.Terminate();
}
