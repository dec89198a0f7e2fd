#include "Wait.h"
#include "WindowQuery.h"

namespace e2e {

bool settled(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool painted(HWND window) {
    for (HWND child : childWindows(window)) {
        if (GetUpdateRect(child, nullptr, FALSE)) {
            return false;
        }
    }
    return IsWindow(window) && !GetUpdateRect(window, nullptr, FALSE);
}

} // namespace e2e
