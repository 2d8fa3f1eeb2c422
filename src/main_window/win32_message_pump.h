#pragma once

#include <windows.h>

namespace vestro {

// Runs until WM_QUIT and returns its exit code. Tab and the arrow keys move between the
// window's controls, as in a dialog.
int RunMessageLoop(HWND window);

// Handles everything queued for this thread, then paints what is still invalid, and returns.
// A WM_QUIT met on the way is posted again, so the message loop still ends on it.
void ProcessPendingMessages(HWND window);

}  // namespace vestro
