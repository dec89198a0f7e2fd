// The baseline for a whole run: the five copies Update.exe makes, with
// CopyFileA and nothing else. It is started and timed as Update.exe is: a
// window whose button 1 is "pressed" by a posted WM_COMMAND and reads 閉じる
// once the copies are done, so both sides carry the same measuring costs.
//
//   bench_plain_copy DATA_DIR APP_DIR
#include "BaselineWindow.h"

#include <string>

namespace {

const char* const Sources[] = {"LData.cxt", "START.dxr", "Train.dxr", "SHARED.cxt", "END.dxr"};
const char* const Targets[] = {"LDATA.CXT", "START.DXR", "TRAIN.DXR", "SHARED.CXT", "END.DXR"};

std::string dataDir;
std::string appDir;

void CopyAll(HWND button) {
    for (int i = 0; i < 5; ++i)
        CopyFileA((dataDir + "\\" + Sources[i]).c_str(), (appDir + "\\" + Targets[i]).c_str(),
                  FALSE);
    SetWindowTextA(button, "閉じる");
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 1) {
        CopyAll(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return BaselineWindowDefault(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (__argc != 3)
        return 2;
    dataDir = __argv[1];
    appDir = __argv[2];
    HWND window = CreateBaselineWindow(instance, "BenchPlainCopy", WindowProcedure);
    if (window == nullptr ||
        CreateWindowExA(0, "BUTTON", "実　行", WS_CHILD | WS_VISIBLE, 8, 8, 75, 25, window,
                        reinterpret_cast<HMENU>(1), instance, nullptr) == nullptr)
        return 1;
    return RunBaselineWindow(window, show);
}
