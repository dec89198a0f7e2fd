// The seam between the updater's own logic and Windows. The logic calls
// nothing but these operations; src/platform/windows carries them out with
// the Windows API, and the unit tests with an in-memory fake. (CreateDialog
// and CopyFile are macros of <windows.h>, hence the longer names below.)
#pragma once

#include "Text.h"

// The dialog's controls, by the names the dialog gives them.
enum class Control { Label1, Label2, Label3, PathLabel, Bevel1, Button1, Button2, ProgressBar1 };

enum class RootKey { LocalMachine };

// How the window system reaches the dialog's handlers. An error that escapes
// FormShow, Button1Click or Button2Click is caught where it was called from
// and shown in the error box; the program then goes on.
class DialogEvents {
  public:
    virtual void FormShow() = 0;
    virtual void Button1Click() = 0;
    virtual void Button2Click() = 0;

  protected:
    ~DialogEvents() = default;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // The dialog with its controls, hidden; `events` receives its handlers' calls.
    virtual void CreateMainDialog(DialogEvents& events) = 0;
    virtual void SetApplicationTitle(const Text& title) = 0;

    virtual void SetCaption(Control control, const Text& text) = 0;
    virtual Text ReadCaption(Control control) = 0;
    virtual void Show(Control control) = 0;
    virtual void Hide(Control control) = 0;
    virtual void Enable(Control control) = 0;
    virtual void Disable(Control control) = 0;

    // ProgressBar1; its minimum stays 0.
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void StepProgress() = 0;
    virtual int ReadProgressPosition() = 0;

    // Shows the dialog first; returns when the dialog has closed.
    virtual void RunEventLoop() = 0;
    // Handles every waiting window message; returns when none is left.
    virtual void PumpMessages() = 0;
    // Ends the event loop and with it the program.
    virtual void CloseDialog() = 0;

    // Empty when the key or value is absent or empty; throws RegistryError
    // when the value cannot be read or is not a string.
    virtual Text ReadRegistryString(RootKey root, const Text& keyPath, const Text& valueName) = 0;
    virtual bool FilePresent(const Text& path) = 0;
    // Empty when the path does not fit the buffer the system fills.
    virtual Text OwnProgramPath() = 0;
    // Replaces an existing target; false when the file was not copied.
    virtual bool CopyFileReplacing(const Text& source, const Text& target) = 0;
};
