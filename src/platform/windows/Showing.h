// How the dialog comes onto the screen: the order of the steps, when its show
// handler runs, where it is placed, the start-up show command, and what
// minimizing and restoring from the taskbar do.
#pragma once

#include "OwnerWindow.h"
#include "Win32.h"

class DialogWindow;
class ErrorBox;
class EventLoop;

class DialogShowing : public OwnerCommands {
  public:
    DialogShowing(DialogWindow& dialog, HWND owner, const ErrorBox& errorBox, EventLoop& loop)
        : dialog_(dialog), owner_(owner), errorBox_(errorBox), loop_(loop) {}

    // Applies the show command the program was started with.
    void ShowAtStart();

    void Minimize() override;
    void Restore() override;
    void EndSession() override;

  private:
    void ShowDialog(int showCommand);
    void Centre();
    // Runs `action` with the minimize and restore animation off.
    template <class Action> void WithoutAnimation(Action action);

    DialogWindow& dialog_;
    HWND owner_;
    const ErrorBox& errorBox_;
    EventLoop& loop_;
    bool shownOnce_ = false;
    bool startedMinimized_ = false;
};

// The start-up show command: wShowWindow when the starter set it, else SW_SHOWDEFAULT.
int StartupShowCommand();
