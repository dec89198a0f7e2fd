// The baselines for a whole run: the five copies Update.exe makes, with
// CopyFileA and nothing else; or, with "durable", the least any replace that
// survives a power cut does per file: CopyFileA to a temporary name,
// FlushFileBuffers, MoveFileExA over the target. It is started and timed as
// Update.exe is: a window whose button 1 is "pressed" by a posted WM_COMMAND
// and reads 閉じる once the copies are done, so both sides carry the same
// measuring costs.
//
//   bench_plain_copy DATA_DIR APP_DIR [durable]
#include "BaselineWindow.h"

#include <cstring>
#include <string>

namespace {

const char* const Sources[] = {"LData.cxt", "START.dxr", "Train.dxr", "SHARED.cxt", "END.dxr"};
const char* const Targets[] = {"LDATA.CXT", "START.DXR", "TRAIN.DXR", "SHARED.CXT", "END.DXR"};

std::string dataDir;
std::string appDir;
bool durable = false;

void ReplaceDurably(const std::string& source, const std::string& target) {
    const std::string temporary = target + ".tmp";
    CopyFileA(source.c_str(), temporary.c_str(), FALSE);
    HANDLE file =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
    MoveFileExA(temporary.c_str(), target.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void CopyAll(HWND button) {
    for (int i = 0; i < 5; ++i) {
        const std::string source = dataDir + "\\" + Sources[i];
        const std::string target = appDir + "\\" + Targets[i];
        if (durable)
            ReplaceDurably(source, target);
        else
            CopyFileA(source.c_str(), target.c_str(), FALSE);
    }
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
    if (__argc < 3 || __argc > 4)
        return 2;
    dataDir = __argv[1];
    appDir = __argv[2];
    durable = __argc == 4 && std::strcmp(__argv[3], "durable") == 0;
    HWND window = CreateBaselineWindow(instance, "BenchPlainCopy", WindowProcedure);
    if (window == nullptr ||
        CreateWindowExA(0, "BUTTON", "実　行", WS_CHILD | WS_VISIBLE, 8, 8, 75, 25, window,
                        reinterpret_cast<HMENU>(1), instance, nullptr) == nullptr)
        return 1;
    return RunBaselineWindow(window, show);
}
