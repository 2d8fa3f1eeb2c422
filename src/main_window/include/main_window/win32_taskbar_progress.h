#pragma once

#include <windows.h>

#include <shobjidl.h>

#include "main_window/win32_owned_objects.h"

namespace vestro {

// The progress bar on a window's taskbar button (ITaskbarList3). Where the shell offers no such
// interface (Wine, COM not started on this thread) it shows nothing and the program goes on.
// Use on the thread that owns the window, inside its COM apartment.
class TaskbarProgress {
  public:
    void Show(HWND window, unsigned permille);
    // Work goes on, its share not known yet.
    void ShowUnknownShare(HWND window);
    void Clear(HWND window);

  private:
    // Made on first use: by then the window has its taskbar button. Null when unavailable.
    ITaskbarList3* Taskbar();

    ComPointer<ITaskbarList3> taskbar_;
    bool tried_ = false;
};

}  // namespace vestro
