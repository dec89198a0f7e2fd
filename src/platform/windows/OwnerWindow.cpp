#include "OwnerWindow.h"
#include "Error.h"

#include "ErrorBox.h"
#include "Files.h"
#include "StartupSteps.h"
#include "UpdaterFolder.h"

namespace {

const char* const OwnerClassName = "TUpdateApplication";
const DWORD OwnerStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HICON ProgramIcon(HINSTANCE instance) {
    HICON icon = LoadIconA(instance, "MAINICON");
    return icon != nullptr ? icon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

} // namespace

OwnerWindow::OwnerWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON icon = ProgramIcon(instance);
    WNDCLASSEXA ownerClass = {};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = WindowProc;
    ownerClass.hInstance = instance;
    ownerClass.hIcon = icon;
    // The same single picture serves where a small icon is drawn: left out,
    // the system would make a scaled copy of it, which costs start-up time.
    ownerClass.hIconSm = icon;
    ownerClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ownerClass.lpszClassName = OwnerClassName;
    RegisterClassExA(&ownerClass);

    const Text title = ProgramBaseTitle(WindowsOwnProgramPath());
    window_ = CreateWindowExA(0, OwnerClassName, title.c_str(), OwnerStyle,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, instance, this);
    if (window_ == nullptr)
        throw Error("アプリケーションのウィンドウの作成に失敗しました");
    MARK_STARTUP_STEP("owner window: class and window");
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    MARK_STARTUP_STEP("owner window: icon (WM_SETICON)");

    // The taskbar button's menu: Restore, Minimize and Close.
    HMENU menu = GetSystemMenu(window_, FALSE);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    MARK_STARTUP_STEP("owner window: system menu");
}

// Like the dialog, the window goes with the program.
OwnerWindow::~OwnerWindow() {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

void OwnerWindow::SetTitle(const Text& title) {
    char current[256] = "";
    GetWindowTextA(window_, current, sizeof current);
    if (title != current)
        SetWindowTextA(window_, title.c_str());
}

LRESULT CALLBACK OwnerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* owner = static_cast<OwnerWindow*>(create->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (owner == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return owner->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        // Shown like the dialog's: none may pass the system's frames that called us.
        ErrorBox(window).Show(error.what());
        return 0;
    }
}

LRESULT OwnerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        PostMessageA(window_, PassFocusMessage, 0, 0);
        return 0;
    case PassFocusMessage:
        PassFocusOn();
        return 0;
    case WM_SYSCOMMAND:
        if (commands_ != nullptr && (wParam & 0xFFF0) == SC_MINIMIZE) {
            commands_->Minimize();
            return 0;
        }
        if (commands_ != nullptr && (wParam & 0xFFF0) == SC_RESTORE) {
            commands_->Restore();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Close in the taskbar button's menu closes the program like the close box.
        PostQuitMessage(0);
        return 0;
    case WM_ENABLE:
        // The program's other windows follow the owner: a box that disables
        // its owner leaves none of them taking input behind it.
        if (wParam != FALSE)
            disabledWithIt_.EnableAgain();
        else
            disabledWithIt_.DisableThreadWindows(window_);
        return 0;
    case WM_ENDSESSION:
        if (wParam != FALSE && commands_ != nullptr)
            commands_->EndSession();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

// The focus does not rest on a window the user cannot see: it goes on to the
// program's first visible, enabled top-level window, preferring one that is
// not topmost.
void OwnerWindow::PassFocusOn() {
    if (IsIconic(window_) || GetFocus() != window_)
        return;
    HWND topmost = nullptr; // taken only when there is no other
    const DWORD thread = GetCurrentThreadId();
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == window_ || GetWindowThreadProcessId(window, nullptr) != thread ||
            !IsWindowVisible(window) || !IsWindowEnabled(window))
            continue;
        if ((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) {
            SetFocus(window);
            return;
        }
        if (topmost == nullptr)
            topmost = window;
    }
    if (topmost != nullptr)
        SetFocus(topmost);
}
