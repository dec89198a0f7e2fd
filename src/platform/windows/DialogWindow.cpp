#include "DialogWindow.h"
#include "Error.h"
#include "StartupSteps.h"

#include <exception>

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

} // namespace

DialogWindow::DialogWindow(HWND owner, DialogEvents& events, const ErrorBox& errorBox)
    : owner_(owner), events_(events), errorBox_(errorBox), bar_(layout::ProgressBar1),
      focus_(buttons_, bar_, events) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterDialogClass(instance, WindowProc);
    LayOut();
    MARK_STARTUP_STEP("dialog: fonts and scaling");

    RECT frame = {0, 0, clientWidth_, clientHeight_};
    AdjustWindowRectEx(&frame, DialogStyle, FALSE, DialogExStyle);
    window_ =
        CreateWindowExA(DialogExStyle, DialogClassName, "「ザルミナ」アップデート", DialogStyle,
                        layout::StoredLeft, layout::StoredTop, frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, instance, this);
    if (window_ == nullptr)
        throw Error("ダイアログの作成に失敗しました");
    MARK_STARTUP_STEP("dialog: window and system menu");
    SendMessageA(window_, WM_SETICON, ICON_BIG, 0);
    MARK_STARTUP_STEP("dialog: no icon (WM_SETICON)");
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ApplyClientSize(clientWidth_, clientHeight_);
    MARK_STARTUP_STEP("dialog: font, client size");
    CreateButtons();
    MARK_STARTUP_STEP("dialog: two buttons");
    FitLabel2();
    bar_.SetStep(1);
    MARK_STARTUP_STEP("dialog: Label2 measured");
}

// The window is left to go with the program: destroying it first would only
// make the program's end wait on the window system.
DialogWindow::~DialogWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DeleteObject(font_);
    DeleteObject(label1Font_);
}

// Every error that a handler raises is shown here: none may pass the
// system's frames that called the procedure.
LRESULT CALLBACK DialogWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* dialog = static_cast<DialogWindow*>(create->lpCreateParams);
        dialog->window_ = window;
        dialog->focus_.SetDialog(window);
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
        dialog->ShowError(error.what());
        return AnswerAfterError(message);
    }
}

LRESULT DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            focus_.Clicked(reinterpret_cast<HWND>(lParam));
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
            focus_.Activated();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        focus_.DialogFocused();
        return 0;
    case PrepareControlsMessage:
        bar_.Prepare();
        MARK_STARTUP_STEP("common controls loaded");
        return 0;
    case WM_GETOBJECT:
        return accessible_.Answer(window_, wParam, lParam);
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
        return focus_.OfferKey(window_, message - KeyNotificationOffset, wParam, lParam);
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
    MARK_STARTUP_STEP("first paint");
    if (!paintedOnce_) {
        // What a run needs is loaded once the dialog is on screen: before
        // its first paint it would keep the user looking at an empty frame.
        paintedOnce_ = true;
        PostMessageA(window_, PrepareControlsMessage, 0, 0);
    }
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

void DialogWindow::ControlFocused(HWND control) {
    focus_.ControlFocused(control);
}

LRESULT DialogWindow::OfferKey(HWND control, UINT message, WPARAM key, LPARAM flags) {
    return focus_.OfferKey(control, message, key, flags);
}

void DialogWindow::ShowError(const char* message) noexcept {
    errorBox_.Show(message);
}
