#include "ProgressBar.h"
#include "Error.h"

#include "ChildControls.h"
#include "CommonControls.h"

#include <commctrl.h>

namespace {

// Without 32-bit ranges the control keeps 16-bit values.
void CheckSixteenBits(int value) {
    if (value < 0 || value > 65535)
        throw Error("プログレスバーの値が範囲外です");
}

} // namespace

void ProgressBar::Prepare() {
    if (prepared_)
        return;
    prepared_ = true;
    has32BitRanges_ = LoadCommonControls();
    RegisterProgressBarClass(GetModuleHandleA(nullptr));
}

void ProgressBar::SendRange(int minimum, int maximum) const {
    if (has32BitRanges_) {
        SendMessageA(window_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    } else {
        CheckSixteenBits(minimum);
        CheckSixteenBits(maximum);
        SendMessageA(window_, PBM_SETRANGE, 0, MAKELPARAM(minimum, maximum));
    }
}

void ProgressBar::SendPosition(int position) const {
    if (!has32BitRanges_)
        CheckSixteenBits(position);
    SendMessageA(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ProgressBar::SetRange(int minimum, int maximum) {
    if (maximum < minimum)
        throw Error("プログレスバーの範囲が不正です");
    if (minimum == minimum_ && maximum == maximum_)
        return;
    if (window_ != nullptr) {
        SendRange(minimum, maximum);
        if (minimum < minimum_)
            SendPosition(minimum);
    }
    minimum_ = minimum;
    maximum_ = maximum;
}

void ProgressBar::SetPosition(int position) {
    if (window_ != nullptr)
        SendPosition(position);
    else
        position_ = position;
}

void ProgressBar::SetStep(int step) {
    if (step == step_)
        return;
    step_ = step;
    if (window_ != nullptr)
        SendMessageA(window_, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void ProgressBar::Step() {
    if (window_ != nullptr)
        SendMessageA(window_, PBM_STEPIT, 0, 0);
}

int ProgressBar::Position() const {
    if (window_ == nullptr)
        return position_;
    if (has32BitRanges_)
        return static_cast<int>(SendMessageA(window_, PBM_GETPOS, 0, 0));
    return static_cast<int>(SendMessageA(window_, PBM_DELTAPOS, 0, 0));
}

void ProgressBar::Show(HWND dialog, HFONT font) {
    if (window_ == nullptr) {
        Prepare();
        window_ = CreateChildControl(ProgressBarClassName, "", WS_CHILD | WS_CLIPSIBLINGS, box_,
                                     dialog, ProgressBar1Id);
        if (window_ == nullptr)
            throw Error("プログレスバーの作成に失敗しました");
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendRange(minimum_, maximum_);
        SendMessageA(window_, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
        SendPosition(position_);
    }
    ShowWindow(window_, SW_SHOW);
}

void ProgressBar::Hide() {
    if (window_ != nullptr)
        ShowWindow(window_, SW_HIDE);
}

void ProgressBar::Move(const ControlBox& box) {
    box_ = box;
    if (window_ != nullptr)
        MoveWindow(window_, box.left, box.top, box.width, box.height, TRUE);
}
