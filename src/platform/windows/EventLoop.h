// The event loop that runs the dialog, and the message pump the update run
// calls before each file.
#pragma once

#include "Win32.h"

class DialogWindow;
class ErrorBox;

class EventLoop {
  public:
    EventLoop(const DialogWindow& dialog, const ErrorBox& errorBox)
        : dialog_(dialog), errorBox_(errorBox) {}

    // Handles messages until the program is to end.
    void Run();
    // Handles every waiting message; returns when none is left. WM_QUIT only
    // sets the flag: the loop ends once the handler that pumped returns.
    void Pump();
    void Terminate() { terminate_ = true; }
    bool Terminated() const { return terminate_; }

  private:
    // Handles one message; false when none was waiting.
    bool HandleMessage();
    // Offers a keyboard message to the program's control it is for; true drops it.
    bool OfferedKeyTaken(const MSG& message) const;

    const DialogWindow& dialog_;
    const ErrorBox& errorBox_;
    bool terminate_ = false;
};
