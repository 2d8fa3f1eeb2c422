#include "main_window/win32_message_pump.h"

namespace vestro {
namespace {

void Deliver(HWND window, MSG& message) {
    if (IsWindow(window) && IsDialogMessageW(window, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        Deliver(window, message);
    }
    return static_cast<int>(message.wParam);
}

void ProcessPendingMessages(HWND window) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Deliver(window, message);
    }
    if (IsWindow(window)) {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

}  // namespace vestro
