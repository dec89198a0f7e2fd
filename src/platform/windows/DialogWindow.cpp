#include "DialogWindow.h"
#include "Error.h"

#include <vector>

namespace {

const char* const DialogClassName = "TForm1";
const DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

void RegisterDialogClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, DialogClassName, &existing))
        return;
    WNDCLASSA dialogClass = {};
    dialogClass.style = CS_DBLCLKS | CS_SAVEBITS | CS_BYTEALIGNWINDOW;
    dialogClass.lpfnWndProc = proc;
    dialogClass.hInstance = instance;
    dialogClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    dialogClass.lpszClassName = DialogClassName; // no brush: the dialog fills its own background
    RegisterClassA(&dialogClass);
}

// Move and Close are all a fixed-size dialog offers.
void TrimSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr)
        return;
    DeleteMenu(menu, SC_TASKLIST, MF_BYCOMMAND);
    DeleteMenu(menu, 7, MF_BYPOSITION);
    DeleteMenu(menu, 5, MF_BYPOSITION);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
}

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

bool Held(int key) {
    return GetKeyState(key) < 0;
}

bool Usable(HWND window) {
    return window != nullptr && IsWindow(window) && IsWindowVisible(window) &&
           IsWindowEnabled(window);
}

} // namespace

DialogWindow::DialogWindow(HWND owner, DialogEvents& events, const ErrorBox& errorBox)
    : owner_(owner), events_(events), errorBox_(errorBox), bar_(layout::ProgressBar1) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterDialogClass(instance, WindowProc);
    LayOut();

    RECT frame = {0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&frame, DialogStyle, FALSE, DialogExStyle);
    window_ =
        CreateWindowExA(DialogExStyle, DialogClassName, "「ザルミナ」アップデート", DialogStyle,
                        layout::StoredLeft, layout::StoredTop, frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, instance, this);
    if (window_ == nullptr)
        throw Error("dialog window not created");
    SendMessageA(window_, WM_SETICON, ICON_BIG, 0);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ApplyClientSize(clientWidth_, clientHeight_);
    CreateButtons();
    FitLabel2();
    bar_.SetStep(1);
}

// The window is left to go with the program: destroying it first would only
// make the program's end wait on the window system.
DialogWindow::~DialogWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DeleteObject(font_);
    DeleteObject(label1Font_);
}

// Builds the controls from the layout table, scaled by how tall the dialog
// font's "0" comes out on this screen.
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
            throw Error("button window not created");
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
    SetWindowPos(window_, nullptr, 0, 0, outerWidth, outerHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* dialog = static_cast<DialogWindow*>(create->lpCreateParams);
        dialog->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(static_cast<ChildControlOwner*>(dialog)));
        TrimSystemMenu(window);
    }
    auto* owner = ChildControlOwnerOf(window);
    if (owner == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    auto* dialog = static_cast<DialogWindow*>(owner);
    try {
        return dialog->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        dialog->errorBox_.Show(error.what());
        return 0;
    }
}

LRESULT DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            for (Button& button : buttons_) {
                if (reinterpret_cast<HWND>(lParam) == button.window)
                    Click(button);
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        // No close query: the dialog is the main window, and closing it ends the program.
        PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            Activated();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        FocusActiveControl();
        if (GetFocus() == window_)
            FollowFocusWithDefault(window_);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam != FALSE)
            PostMessageA(window_, PrepareControlsMessage, 0, 0);
        break;
    case PrepareControlsMessage:
        bar_.Prepare();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            Resized(LOWORD(lParam));
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            SendMessageA(owner_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return 0;
        }
        break;
    case KeyDownNotification:
    case SysKeyDownNotification:
        return OfferKey(window_, message - KeyNotificationOffset, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void DialogWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    for (const Label* label : {&label1_, &label2_, &pathLabel_}) {
        if (label->visible)
            PaintLabel(dc, *label);
    }
    PaintBevel(dc, bevel1_);
    if (label3_.visible)
        PaintLabel(dc, label3_);
    EndPaint(window_, &paint);
}

// Labels anchored at the right keep their distance to the client's right edge.
void DialogWindow::Resized(int clientWidth) {
    Label* anchored[3] = {&label1_, &pathLabel_, &label3_};
    for (int i = 0; i < 3; ++i) {
        const int width = anchoredWidths_[i] + clientWidth - clientWidth_;
        if (width != anchored[i]->box.width) {
            InvalidateLabel(*anchored[i]);
            anchored[i]->box.width = width;
            InvalidateLabel(*anchored[i]);
        }
    }
}

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

DialogWindow::Button* DialogWindow::ButtonOf(Control control) {
    return const_cast<Button*>(static_cast<const DialogWindow*>(this)->ButtonOf(control));
}

const DialogWindow::Button* DialogWindow::ButtonOf(Control control) const {
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
    } else if (Button* button = ButtonOf(control)) {
        if (ReadCaption(control) != text)
            SendMessageA(button->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

Text DialogWindow::ReadCaption(Control control) const {
    if (const Label* label = LabelOf(control))
        return label->caption;
    if (const Button* button = ButtonOf(control)) {
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
        label->visible = true;
        InvalidateLabel(*label);
    } else if (Button* button = ButtonOf(control)) {
        ShowWindow(button->window, SW_SHOW);
    } else if (control == Control::ProgressBar1) {
        bar_.Show(window_, font_);
    }
}

void DialogWindow::Hide(Control control) {
    if (Label* label = LabelOf(control)) {
        label->visible = false;
        InvalidateLabel(*label);
    } else if (Button* button = ButtonOf(control)) {
        MoveFocusOffControl(button->window);
        ShowWindow(button->window, SW_HIDE);
    } else if (control == Control::ProgressBar1) {
        MoveFocusOffControl(bar_.Handle());
        bar_.Hide();
    }
}

void DialogWindow::Enable(Control control) {
    if (Button* button = ButtonOf(control))
        EnableWindow(button->window, TRUE);
}

void DialogWindow::Disable(Control control) {
    if (Button* button = ButtonOf(control)) {
        MoveFocusOffControl(button->window);
        EnableWindow(button->window, FALSE);
    }
}

// A control that can no longer take input hands the focus to the dialog itself.
void DialogWindow::MoveFocusOffControl(HWND control) {
    if (control == nullptr)
        return;
    if (activeControl_ == control)
        activeControl_ = nullptr;
    if (GetFocus() == control)
        SetFocus(window_);
}

bool DialogWindow::IsProgramControl(HWND window) const {
    return window != nullptr && (window == window_ || window == buttons_[0].window ||
                                 window == buttons_[1].window || window == bar_.Handle());
}

void DialogWindow::FocusActiveControl() {
    if (Usable(activeControl_))
        SetFocus(activeControl_);
}

// On its first activation the dialog focuses the first tab stop that can take
// input; later, the control that had the focus, or else the dialog itself.
void DialogWindow::Activated() {
    if (!activatedOnce_) {
        activatedOnce_ = true;
        if (!Usable(activeControl_)) {
            for (const Button& button : buttons_) {
                if (Usable(button.window)) {
                    activeControl_ = button.window;
                    break;
                }
            }
        }
    }
    if (Usable(activeControl_))
        SetFocus(activeControl_);
    else
        SetFocus(window_);
}

void DialogWindow::Click(Button& button) {
    try {
        (events_.*button.click)();
    } catch (const std::exception& error) {
        errorBox_.Show(error.what());
    }
}

void DialogWindow::ControlFocused(HWND control) {
    activeControl_ = control;
    FollowFocusWithDefault(control);
}

// Enter clicks the focused button, or the default button when the focus is
// elsewhere; the heavy border always shows which.
void DialogWindow::FollowFocusWithDefault(HWND focused) {
    bool focusOnButton = false;
    for (const Button& button : buttons_)
        focusOnButton = focusOnButton || button.window == focused;
    for (Button& button : buttons_) {
        button.activeDefault = focusOnButton ? button.window == focused : button.isDefault;
        const LONG_PTR style = GetWindowLongPtrA(button.window, GWL_STYLE);
        const bool looksDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (looksDefault != button.activeDefault)
            SendMessageA(button.window, BM_SETSTYLE,
                         button.activeDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

LRESULT DialogWindow::OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN)
        return 0;
    // Focus rectangles and underlines show once the keyboard is in use.
    if (key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)
        SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    else if (key == VK_MENU)
        SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    if (message != WM_KEYDOWN)
        return 0;

    MSG keyMessage = {};
    keyMessage.hwnd = control;
    keyMessage.message = message;
    keyMessage.wParam = key;
    keyMessage.lParam = flags;
    const auto wants =
        SendMessageA(control, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&keyMessage));
    bool dialogKey = false;
    switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
    case VK_EXECUTE:
        dialogKey = (wants & DLGC_WANTALLKEYS) == 0;
        break;
    case VK_TAB:
        dialogKey = (wants & DLGC_WANTTAB) == 0;
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        dialogKey = (wants & DLGC_WANTARROWS) == 0;
        break;
    default:
        break;
    }
    return dialogKey && DialogKey(control, key) ? 1 : 0;
}

bool DialogWindow::DialogKey(HWND control, WPARAM key) {
    if (key == VK_TAB && !Held(VK_MENU) && !Held(VK_CONTROL)) {
        MoveFocus(true, !Held(VK_SHIFT));
        return true;
    }
    if ((key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) && !Held(VK_MENU)) {
        if (control == window_ || !IsProgramControl(GetFocus()) || GetFocus() == window_)
            return false; // no control has the focus
        MoveFocus(false, key == VK_RIGHT || key == VK_DOWN);
        return true;
    }
    if (Held(VK_SHIFT) || Held(VK_CONTROL) || Held(VK_MENU))
        return false;
    for (Button& button : buttons_) {
        const bool takes =
            (key == VK_RETURN && button.activeDefault) || (key == VK_ESCAPE && button.isCancel);
        if (takes && Usable(button.window)) {
            Click(button);
            return true;
        }
    }
    return false;
}

// Tab order: Button1, Button2, ProgressBar1. Tab visits tab stops only; the
// arrows visit every windowed control that can take the focus.
void DialogWindow::MoveFocus(bool tabStopsOnly, bool forward) {
    const HWND order[3] = {buttons_[0].window, buttons_[1].window, bar_.Handle()};
    const int count = 3;
    auto eligible = [&](HWND window) {
        return Usable(window) &&
               (!tabStopsOnly || (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP) != 0);
    };
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i] != nullptr && order[i] == GetFocus())
            current = i;
    }
    for (int step = 0; step < count; ++step) {
        int index;
        if (current < 0)
            index = forward ? step : count - 1 - step;
        else
            index = ((current + (forward ? step + 1 : -(step + 1))) % count + count) % count;
        if (eligible(order[index])) {
            SetFocus(order[index]);
            return;
        }
    }
}
