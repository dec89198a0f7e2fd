// The baseline for start-up with the work any program showing this dialog
// must do, and nothing more: the zero-size owner window with the program's
// icon, the dialog in its frame with its font, scaled by the height of "0",
// its two buttons, the owner shown, the dialog centred on the screen, shown
// and painted with its texts. No registry, no files, no progress bar, no
// system menus trimmed, no second font.
#include "BaselineWindow.h"
#include "DialogLayout.h"

namespace {

const DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD DialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

HFONT font = nullptr;
int textHeight = layout::ReferenceTextHeight;

ControlBox Scaled(const ControlBox& box) {
    return ScaleBox(box, textHeight, layout::ReferenceTextHeight);
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const struct {
        ControlBox box;
        const char* text;
    } labels[] = {
        {layout::Label2, "「ザルミナ」を最新版にアップデートします。"},
        {layout::Label1, "以下の場所にインストールされている「ザルミナ」をアップデートします。"},
        {layout::PathLabel, "C:\\Program Files\\Zalmina"},
    };
    for (const auto& label : labels) {
        RECT rect = ToRect(Scaled(label.box));
        DrawTextA(dc, label.text, -1, &rect, DT_EXPANDTABS | DT_LEFT);
    }
    SelectObject(dc, previous);
    EndPaint(window, &paint);
}

LRESULT CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        Paint(window);
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateOwner(HINSTANCE instance) {
    HICON icon = LoadIconA(instance, "MAINICON");
    WNDCLASSEXA ownerClass = {};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = DefWindowProcA;
    ownerClass.hInstance = instance;
    ownerClass.hIcon = icon;
    ownerClass.hIconSm = icon;
    ownerClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    ownerClass.lpszClassName = "BenchRequiredOwner";
    if (!RegisterClassExA(&ownerClass))
        return nullptr;
    HWND owner =
        CreateWindowExA(0, "BenchRequiredOwner", "ザルミナアップデート",
                        WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                        nullptr, nullptr, instance, nullptr);
    if (owner != nullptr)
        SendMessageA(owner, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    return owner;
}

void CreateFontAndMeasure() {
    HDC screen = GetDC(nullptr);
    const int density = GetDeviceCaps(screen, LOGPIXELSY);
    LOGFONTA logFont = DialogLogFont(MulDiv(layout::FontHeight, density, layout::ReferenceDensity));
    font = CreateFontIndirectA(&logFont);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {0, layout::ReferenceTextHeight};
    GetTextExtentPoint32A(screen, "0", 1, &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    textHeight = size.cy;
}

HWND CreateDialogWindow(HINSTANCE instance, HWND owner) {
    WNDCLASSA dialogClass = {};
    dialogClass.style = CS_DBLCLKS | CS_SAVEBITS | CS_BYTEALIGNWINDOW;
    dialogClass.lpfnWndProc = DialogProcedure;
    dialogClass.hInstance = instance;
    dialogClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    dialogClass.lpszClassName = "BenchRequired";
    if (!RegisterClassA(&dialogClass))
        return nullptr;
    const ControlBox client = Scaled(ControlBox{0, 0, layout::ClientWidth, layout::ClientHeight});
    RECT frame = {0, 0, client.width, client.height};
    AdjustWindowRectEx(&frame, DialogStyle, FALSE, DialogExStyle);
    HWND dialog =
        CreateWindowExA(DialogExStyle, "BenchRequired", "「ザルミナ」アップデート", DialogStyle,
                        layout::StoredLeft, layout::StoredTop, frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, instance, nullptr);
    if (dialog == nullptr)
        return nullptr;
    SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const ControlBox boxes[2] = {Scaled(layout::Button1), Scaled(layout::Button2)};
    const char* captions[2] = {"実　行", "キャンセル"};
    for (int i = 0; i < 2; ++i) {
        HWND button = CreateWindowExA(0, "BUTTON", captions[i],
                                      WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE |
                                          (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                      boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height,
                                      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                      instance, nullptr);
        if (button == nullptr)
            return nullptr;
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return dialog;
}

void Centre(HWND dialog) {
    RECT outer;
    GetWindowRect(dialog, &outer);
    int x = (GetSystemMetrics(SM_CXVIRTUALSCREEN) - (outer.right - outer.left)) / 2;
    int y = (GetSystemMetrics(SM_CYVIRTUALSCREEN) - (outer.bottom - outer.top)) / 2;
    SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HWND owner = CreateOwner(instance);
    if (owner == nullptr)
        return 1;
    CreateFontAndMeasure();
    HWND dialog = CreateDialogWindow(instance, owner);
    if (dialog == nullptr)
        return 1;
    SetWindowPos(owner, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Centre(dialog);
    return RunBaselineWindow(dialog, SW_SHOWNORMAL);
}
