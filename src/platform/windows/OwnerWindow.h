// The zero-size top-level window that owns the dialog. On screen it is only
// the taskbar button: it carries the application title and the icon.
#pragma once

#include "DisabledWindows.h"
#include "Text.h"
#include "Win32.h"

// What the owner window asks of the rest of the program.
class OwnerCommands {
  public:
    virtual void Minimize() = 0;
    virtual void Restore() = 0;
    virtual void EndSession() = 0;

  protected:
    ~OwnerCommands() = default;
};

class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND Handle() const { return window_; }
    void SetCommands(OwnerCommands* commands) { commands_ = commands; }
    void SetTitle(const Text& title);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PassFocusOn();

    HWND window_ = nullptr;
    OwnerCommands* commands_ = nullptr;
    DisabledWindows disabledWithIt_;
};
