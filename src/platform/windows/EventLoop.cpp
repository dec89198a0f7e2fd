#include "EventLoop.h"

#include "DialogWindow.h"
#include "ErrorBox.h"

#include <exception>

bool EventLoop::OfferedKeyTaken(const MSG& message) const {
    if (message.message < FirstOfferedKeyMessage || message.message > LastOfferedKeyMessage)
        return false;
    HWND target = GetCapture();
    if (target == nullptr) {
        target = message.hwnd;
        while (target != nullptr && !dialog_.IsProgramControl(target))
            target = GetParent(target);
        if (target == nullptr)
            target = message.hwnd;
    }
    if (target == nullptr)
        return false;
    return SendMessageA(target, message.message + KeyNotificationOffset, message.wParam,
                        message.lParam) != 0;
}

bool EventLoop::HandleMessage() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        terminate_ = true;
        return true;
    }
    if (!OfferedKeyTaken(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void EventLoop::Pump() {
    while (HandleMessage()) {
    }
}

void EventLoop::Run() {
    while (!terminate_) {
        try {
            if (!HandleMessage())
                WaitMessage();
        } catch (const std::exception& error) {
            errorBox_.Show(error.what());
        }
    }
}
