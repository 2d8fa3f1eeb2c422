#pragma once

#include <windows.h>

namespace vestro {

// Runs until WM_QUIT and returns its exit code. Tab and the arrow keys move between the
// window's controls, as in a dialog.
int RunMessageLoop(HWND window);

}  // namespace vestro
