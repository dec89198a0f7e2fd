// The baseline for start-up time and memory: one empty top-level window, built
// with the same compiler, flags and static runtime as Update.exe.
#include "BaselineWindow.h"

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return BaselineWindowDefault(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    HWND window = CreateBaselineWindow(instance, "BenchMinimal", WindowProcedure);
    return window != nullptr ? RunBaselineWindow(window, show) : 1;
}
