// Form1 as a Windows window: a fixed-size dialog frame owned by the owner
// window, with windowless labels and a separator that it paints itself, two
// push buttons and a progress bar.
#pragma once

#include "ChildControls.h"
#include "DialogAccessible.h"
#include "DialogFocus.h"
#include "ErrorBox.h"
#include "Labels.h"
#include "Platform.h"
#include "ProgressBar.h"
#include "Win32.h"

class DialogWindow : private ChildControlOwner {
  public:
    // Creates the window, hidden, at its stored position, laid out for the
    // screen's density.
    DialogWindow(HWND owner, DialogEvents& events, const ErrorBox& errorBox);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND Handle() const { return window_; }
    HWND Owner() const { return owner_; }

    // The control operations (DialogControls.cpp).
    void SetCaption(Control control, const Text& text);
    Text ReadCaption(Control control) const;
    void Show(Control control);
    void Hide(Control control);
    void Enable(Control control);
    void Disable(Control control);
    ProgressBar& Bar() { return bar_; }

    // Whether `window` is the dialog or one of its windowed controls.
    bool IsProgramControl(HWND window) const { return focus_.IsProgramControl(window); }
    // Gives the focus back to the control that had it, if there is one.
    void FocusActiveControl() { focus_.FocusActiveControl(); }
    // Runs FormShow; the showing of the dialog calls it once.
    DialogEvents& Events() { return events_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Resized(int clientWidth);

    // Building the controls (DialogScaledLayout.cpp).
    void LayOut();
    ControlBox Scaled(const ControlBox& box) const;
    void CreateButtons();
    void ApplyClientSize(int width, int height);

    Label* LabelOf(Control control);
    const Label* LabelOf(Control control) const;
    DialogButton* ButtonOf(Control control);
    const DialogButton* ButtonOf(Control control) const;
    void InvalidateLabel(const Label& label);
    void FitLabel2();

    // ChildControlOwner: focus and keys of the windowed controls.
    void ControlFocused(HWND control) override;
    LRESULT OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags) override;
    void ShowError(const char* message) noexcept override;

    HWND owner_;
    DialogEvents& events_;
    const ErrorBox& errorBox_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT label1Font_ = nullptr;
    int textHeight_ = layout::ReferenceTextHeight;
    int clientWidth_ = layout::ClientWidth; // as laid out, for the anchors
    int clientHeight_ = layout::ClientHeight;

    // In creation order, which is also the order of painting.
    Label label1_;
    Label label2_;
    Label pathLabel_;
    ControlBox bevel1_;
    Label label3_;
    DialogAccessible accessible_{label1_, label2_, pathLabel_, label3_};
    int anchoredWidths_[3] = {0, 0, 0}; // Label1, PathLabel, Label3 as laid out
    bool paintedOnce_ = false;
    DialogButtons buttons_;
    ProgressBar bar_;

    DialogFocus focus_;
};
