// The dialog's controls built from the layout table, scaled by how tall the
// dialog font's "0" comes out on this screen.
#include "DialogWindow.h"
#include "Error.h"

namespace {

int ScreenDensity() {
    HDC screen = GetDC(nullptr);
    const int density = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return density;
}

int TextHeightOfZero(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(screen, "0", 1, &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cy;
}

} // namespace

void DialogWindow::LayOut() {
    const int density = ScreenDensity();
    int fontHeight = layout::FontHeight;
    if (density != layout::ReferenceDensity)
        fontHeight = MulDiv(layout::FontHeight, density, layout::ReferenceDensity);
    LOGFONTA logFont = DialogLogFont(fontHeight);
    font_ = CreateFontIndirectA(&logFont);
    textHeight_ = TextHeightOfZero(font_);

    const int n = textHeight_;
    const int d = layout::ReferenceTextHeight;
    int label1Height = layout::FontHeight; // its own font follows the layout, not the density
    if (n != d) {
        const int pointSize = -MulDiv(layout::FontHeight, 72, density);
        label1Height = -MulDiv(MulDiv(pointSize, n, d), density, 72);
        clientWidth_ = MulDiv(layout::ClientWidth, n, d);
        clientHeight_ = MulDiv(layout::ClientHeight, n, d);
    }
    LOGFONTA label1LogFont = DialogLogFont(label1Height);
    label1Font_ = CreateFontIndirectA(&label1LogFont);

    label1_.box = Scaled(layout::Label1);
    label1_.caption = "以下の場所にインストールされている「ザルミナ」をアップデートします。";
    label1_.font = label1Font_;
    label1_.anchorRight = true;
    label2_.box = Scaled(layout::Label2);
    label2_.caption = "「ザルミナ」を最新版にアップデートします。";
    label2_.font = font_;
    label2_.autoSize = true;
    pathLabel_.box = Scaled(layout::PathLabel);
    pathLabel_.caption = "PathLabel";
    pathLabel_.font = font_;
    pathLabel_.wordBreak = true;
    pathLabel_.anchorRight = true;
    bevel1_ = Scaled(layout::Bevel1);
    label3_.box = Scaled(layout::Label3);
    label3_.caption = "FileName";
    label3_.font = font_;
    label3_.anchorRight = true;
    anchoredWidths_[0] = label1_.box.width;
    anchoredWidths_[1] = pathLabel_.box.width;
    anchoredWidths_[2] = label3_.box.width;
    bar_.Move(Scaled(layout::ProgressBar1));

    buttons_[0].isDefault = true;
    buttons_[0].activeDefault = true;
    buttons_[0].click = &DialogEvents::Button1Click;
    buttons_[1].isCancel = true;
    buttons_[1].click = &DialogEvents::Button2Click;
}

// A text height of 12 leaves every box as it is.
ControlBox DialogWindow::Scaled(const ControlBox& box) const {
    return ScaleBox(box, textHeight_, layout::ReferenceTextHeight);
}

void DialogWindow::CreateButtons() {
    const ControlBox boxes[2] = {Scaled(layout::Button1), Scaled(layout::Button2)};
    const char* captions[2] = {"実　行", "キャンセル"};
    const int ids[2] = {Button1Id, Button2Id};
    for (int i = 0; i < 2; ++i) {
        const DWORD type = buttons_[i].isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        buttons_[i].window = CreateChildControl(
            ButtonClassName, captions[i],
            WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE | type, boxes[i], window_, ids[i]);
        if (buttons_[i].window == nullptr)
            throw Error("ボタンの作成に失敗しました");
        SendMessageA(buttons_[i].window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

// The frame is whatever the system draws for these styles; the client area
// must come out exactly as laid out.
void DialogWindow::ApplyClientSize(int width, int height) {
    RECT client;
    RECT outer;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &outer);
    const int outerWidth = (outer.right - outer.left) + width - (client.right - client.left);
    const int outerHeight = (outer.bottom - outer.top) + height - (client.bottom - client.top);
    // Usually the frame asked for at creation fits already; moving the window
    // to where it is would cost the window system a round of its own.
    if (outerWidth == outer.right - outer.left && outerHeight == outer.bottom - outer.top)
        return;
    SetWindowPos(window_, nullptr, 0, 0, outerWidth, outerHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
