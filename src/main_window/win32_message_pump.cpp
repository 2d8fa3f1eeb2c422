#include "main_window/win32_message_pump.h"

namespace vestro {

int RunMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(window) && IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void PumpMessagesUntil(const std::function<bool()>& done) {
    constexpr DWORD kLookEveryMilliseconds = 50;
    while (!done()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, kLookEveryMilliseconds, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace vestro
