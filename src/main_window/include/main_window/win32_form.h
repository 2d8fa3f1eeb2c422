#pragma once

#include <windows.h>

#include <optional>

#include "file_system/status.h"
#include "main_window/win32_layout.h"
#include "main_window/win32_owned_objects.h"

namespace vestro {

// frmVestroFile's controls as the layout table draws them, placed and sized for the window's
// DPI, with the one font that fits every text they show.
class Win32Form {
  public:
    // Makes the controls on the window in tab order, the progress bar hidden, then places them
    // and centres the window, sized to fit, on its monitor.
    Status Create(HWND window);
    // The same for another DPI, the window's top-left corner at topLeft.
    void Rescale(UINT dpi, POINT topLeft);

  private:
    HWND Control(ControlId id) const { return GetDlgItem(window_, static_cast<int>(id)); }
    Status CreateControl(HINSTANCE instance, const ControlLayout& control, DWORD visibility);
    void ApplyFont();
    void PlaceControls();
    // Without a top-left corner the window is centred on its monitor.
    void SizeWindow(std::optional<POINT> topLeft);

    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    OwnedFont font_;
};

}  // namespace vestro
