#pragma once

#include <windows.h>

#include <functional>

namespace vestro {

// Runs until WM_QUIT and returns its exit code. Tab and the arrow keys move between the
// window's controls, as in a dialog.
int RunMessageLoop(HWND window);

// Answers the thread's window messages (the end of the session among them) until done says so;
// done is asked at least every few hundredths of a second.
void PumpMessagesUntil(const std::function<bool()>& done);

}  // namespace vestro
