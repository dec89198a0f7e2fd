#include "ChildControls.h"

#include <exception>

const char* const ButtonClassName = "TButton";
const char* const ProgressBarClassName = "TProgressBar";

namespace {

WNDPROC systemButtonProc = nullptr;
WNDPROC systemProgressProc = nullptr;

LRESULT OnMessage(ChildControlOwner& owner, WNDPROC systemProc, HWND window, UINT message,
                  WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case KeyDownNotification:
    case SysKeyDownNotification:
        return owner.OfferKey(window, message - KeyNotificationOffset, wParam, lParam);
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcA(systemProc, window, message, wParam, lParam);
        owner.ControlFocused(window);
        return result;
    }
    default:
        return CallWindowProcA(systemProc, window, message, wParam, lParam);
    }
}

// An error must not leave a window procedure: the system's frames it would
// pass are no C++ frames, and the 32-bit build's unwinder ends the program
// there, while 64-bit Windows may drop the error unseen.
LRESULT ChildProc(WNDPROC systemProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChildControlOwner* owner = ChildControlOwnerOf(GetParent(window));
    if (owner == nullptr)
        return CallWindowProcA(systemProc, window, message, wParam, lParam);
    try {
        return OnMessage(*owner, systemProc, window, message, wParam, lParam);
    } catch (const std::exception& error) {
        owner->ShowError(error.what());
        return AnswerAfterError(message);
    }
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ChildProc(systemButtonProc, window, message, wParam, lParam);
}

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ChildProc(systemProgressProc, window, message, wParam, lParam);
}

void RegisterDerived(HINSTANCE instance, const char* systemClass, const char* name, WNDPROC proc,
                     WNDPROC& systemProc) {
    WNDCLASSA derived;
    if (!GetClassInfoA(nullptr, systemClass, &derived))
        return;
    systemProc = derived.lpfnWndProc;
    derived.lpfnWndProc = proc;
    derived.hInstance = instance;
    derived.lpszClassName = name;
    RegisterClassA(&derived);
}

} // namespace

void RegisterButtonClass(HINSTANCE instance) {
    RegisterDerived(instance, "BUTTON", ButtonClassName, ButtonProc, systemButtonProc);
}

void RegisterProgressBarClass(HINSTANCE instance) {
    RegisterDerived(instance, "msctls_progress32", ProgressBarClassName, ProgressProc,
                    systemProgressProc);
}

HWND CreateChildControl(const char* className, const char* text, DWORD style, const ControlBox& box,
                        HWND dialog, int id) {
    return CreateWindowExA(0, className, text, style, box.left, box.top, box.width, box.height,
                           dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

ChildControlOwner* ChildControlOwnerOf(HWND dialog) {
    if (dialog == nullptr)
        return nullptr;
    return reinterpret_cast<ChildControlOwner*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}
