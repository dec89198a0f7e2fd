// ProgressBar1: its values live here until its window exists, and in the
// window from then on.
#pragma once

#include "DialogLayout.h"
#include "Win32.h"

class ProgressBar {
  public:
    explicit ProgressBar(const ControlBox& box) : box_(box) {}

    // Loads the common controls and registers the bar's class, once. Loading
    // them takes longer than showing the whole dialog, so the dialog asks for
    // it once it is on screen, and the first showing of the bar at the latest.
    void Prepare();

    void SetRange(int minimum, int maximum);
    void SetMaximum(int maximum) { SetRange(minimum_, maximum); }
    void SetPosition(int position);
    void SetStep(int step);
    void Step();
    int Position() const;

    // Creates the window the first time.
    void Show(HWND dialog, HFONT font);
    void Hide();
    HWND Handle() const { return window_; }
    void Move(const ControlBox& box);

  private:
    void SendRange(int minimum, int maximum) const;
    void SendPosition(int position) const;

    ControlBox box_;
    bool prepared_ = false;
    bool has32BitRanges_ = false;
    HWND window_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 20;
    int step_ = 1;
    int position_ = 0;
};
