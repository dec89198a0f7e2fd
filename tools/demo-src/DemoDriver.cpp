// Drives the demo where nobody can: waits for the updater's dialog, saves a
// picture of it, presses Execute, waits for the outcome, saves another
// picture and closes the updater.
//
//   DemoDriver READY.bmp FINISHED.bmp
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND WaitForDialog(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND dialog = FindWindowA("TForm1", nullptr);
        if (dialog != nullptr && IsWindowVisible(dialog))
            return dialog;
        Sleep(50);
    }
    return nullptr;
}

std::string Caption(HWND window) {
    char text[256] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 1000, nullptr);
    return text;
}

bool SaveWindowPicture(HWND window, const char* path) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD size = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    FILE* out = std::fopen(path, "wb");
    bool ok = out != nullptr;
    if (ok) {
        ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
             std::fwrite(bits, size, 1, out) == 1;
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void PressEnter(HWND dialog) {
    SetForegroundWindow(dialog);
    Sleep(200);
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_RETURN;
    keys[1].type = INPUT_KEYBOARD;
    keys[1].ki.wVk = VK_RETURN;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: DemoDriver READY.bmp FINISHED.bmp\n");
        return 2;
    }
    HWND dialog = WaitForDialog(30000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "DemoDriver: the updater's dialog did not appear\n");
        return 1;
    }
    Sleep(500); // let it paint
    SaveWindowPicture(dialog, argv[1]);
    HWND execute = GetDlgItem(dialog, 1);
    PressEnter(dialog);
    const DWORD start = GetTickCount();
    while (Caption(execute) != "閉じる" && GetTickCount() - start < 30000)
        Sleep(100);
    Sleep(500);
    SaveWindowPicture(dialog, argv[2]);
    PressEnter(dialog); // 閉じる
    return 0;
}
