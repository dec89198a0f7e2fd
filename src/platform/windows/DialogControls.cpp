// The platform's operations on the dialog's controls: captions, showing and
// hiding, enabling and disabling.
#include "DialogWindow.h"

#include <vector>

Label* DialogWindow::LabelOf(Control control) {
    return const_cast<Label*>(static_cast<const DialogWindow*>(this)->LabelOf(control));
}

const Label* DialogWindow::LabelOf(Control control) const {
    switch (control) {
    case Control::Label1:
        return &label1_;
    case Control::Label2:
        return &label2_;
    case Control::PathLabel:
        return &pathLabel_;
    case Control::Label3:
        return &label3_;
    default:
        return nullptr;
    }
}

DialogButton* DialogWindow::ButtonOf(Control control) {
    return const_cast<DialogButton*>(static_cast<const DialogWindow*>(this)->ButtonOf(control));
}

const DialogButton* DialogWindow::ButtonOf(Control control) const {
    if (control == Control::Button1)
        return &buttons_[0];
    if (control == Control::Button2)
        return &buttons_[1];
    return nullptr;
}

void DialogWindow::InvalidateLabel(const Label& label) {
    RECT rect = ToRect(label.box);
    InvalidateRect(window_, &rect, FALSE);
}

void DialogWindow::FitLabel2() {
    const SIZE size = MeasureLabel(label2_);
    InvalidateLabel(label2_);
    label2_.box.width = size.cx;
    label2_.box.height = size.cy;
    InvalidateLabel(label2_);
}

void DialogWindow::SetCaption(Control control, const Text& text) {
    if (Label* label = LabelOf(control)) {
        if (label->caption == text)
            return;
        label->caption = text;
        InvalidateLabel(*label);
        if (label->autoSize)
            FitLabel2();
        accessible_.Changed(window_, *label, EVENT_OBJECT_NAMECHANGE);
    } else if (DialogButton* button = ButtonOf(control)) {
        if (ReadCaption(control) != text)
            SendMessageA(button->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

Text DialogWindow::ReadCaption(Control control) const {
    if (const Label* label = LabelOf(control))
        return label->caption;
    if (const DialogButton* button = ButtonOf(control)) {
        const auto length = SendMessageA(button->window, WM_GETTEXTLENGTH, 0, 0);
        std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
        const auto copied = SendMessageA(button->window, WM_GETTEXT, buffer.size(),
                                         reinterpret_cast<LPARAM>(buffer.data()));
        return Text(buffer.data(), static_cast<size_t>(copied));
    }
    return Text();
}

void DialogWindow::Show(Control control) {
    if (Label* label = LabelOf(control)) {
        const bool shown = !label->visible;
        label->visible = true;
        InvalidateLabel(*label);
        if (shown)
            accessible_.Changed(window_, *label, EVENT_OBJECT_SHOW);
    } else if (DialogButton* button = ButtonOf(control)) {
        ShowWindow(button->window, SW_SHOW);
    } else if (control == Control::ProgressBar1) {
        bar_.Show(window_, font_);
    }
}

void DialogWindow::Hide(Control control) {
    if (Label* label = LabelOf(control)) {
        const bool hidden = label->visible;
        label->visible = false;
        InvalidateLabel(*label);
        if (hidden)
            accessible_.Changed(window_, *label, EVENT_OBJECT_HIDE);
    } else if (DialogButton* button = ButtonOf(control)) {
        focus_.MoveFocusOffControl(button->window);
        ShowWindow(button->window, SW_HIDE);
    } else if (control == Control::ProgressBar1) {
        focus_.MoveFocusOffControl(bar_.Handle());
        bar_.Hide();
    }
}

void DialogWindow::Enable(Control control) {
    if (DialogButton* button = ButtonOf(control))
        EnableWindow(button->window, TRUE);
}

void DialogWindow::Disable(Control control) {
    if (DialogButton* button = ButtonOf(control)) {
        focus_.MoveFocusOffControl(button->window);
        EnableWindow(button->window, FALSE);
    }
}
