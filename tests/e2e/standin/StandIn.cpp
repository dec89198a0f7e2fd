// A small window program with known contents, which the harness's own tests
// drive to show that the harness reads, types, clicks and measures correctly.
//
//   StandIn.exe          the window, until closed
//   StandIn.exe --dpi    exits with the screen's LOGPIXELSY as its exit code
//   StandIn.exe --hang   never ends, and shows nothing
//   StandIn.exe --write-cwd   writes its working directory to cwd.txt in it
#include "StandIn.h"

#include <commctrl.h>
#include <windows.h>

#include <cstring>

namespace {

HWND addControl(HWND parent, const char* className, const char* text, DWORD style, int id,
                RECT place) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

HFONT labelFont() {
    static HFONT font = [] {
        LOGFONTA description{};
        description.lfHeight = standin::labelFontHeight;
        description.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(description.lfFaceName, standin::labelFontFace);
        return CreateFontIndirectA(&description);
    }();
    return font;
}

void createControls(HWND window) {
    using namespace standin;
    HWND label = addControl(window, "STATIC", labelText, SS_LEFT, labelId, labelRect);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont()), FALSE);
    HWND edit = addControl(window, "EDIT", "", WS_BORDER | WS_TABSTOP, editId, {10, 40, 130, 62});
    addControl(window, "BUTTON", buttonText, BS_PUSHBUTTON | WS_TABSTOP, buttonId,
               {10, 70, 90, 94});
    addControl(window, "STATIC", "", SS_LEFT, reportId, {100, 74, 300, 90});
    HWND bar = addControl(window, PROGRESS_CLASSA, "", 0, progressId, {10, 100, 210, 116});
    SendMessageA(bar, PBM_SETRANGE32, 0, progressMaximum);
    SendMessageA(bar, PBM_SETPOS, progressPosition, 0);
    SetFocus(edit);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        // Black on white, so that a test can draw the same label itself.
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == standin::labelId) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == standin::buttonId && HIWORD(wParam) == BN_CLICKED) {
            SetDlgItemTextA(window, standin::reportId, standin::clickedText);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (std::strstr(commandLine, "--dpi")) {
        return screenDpi();
    }
    if (std::strstr(commandLine, "--write-cwd")) {
        char folder[MAX_PATH];
        const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
        HANDLE file = CreateFileA("cwd.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        const BOOL ok = WriteFile(file, folder, length, &written, nullptr);
        CloseHandle(file);
        return ok ? 0 : 1;
    }
    if (std::strstr(commandLine, "--hang")) {
        for (;;) {
            Sleep(INFINITE);
        }
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(standin::background);
    windowClass.lpszClassName = standin::className;
    RegisterClassA(&windowClass);

    HWND window = CreateWindowExA(0, standin::className, standin::title, WS_OVERLAPPEDWINDOW, 100,
                                  100, 400, 300, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
