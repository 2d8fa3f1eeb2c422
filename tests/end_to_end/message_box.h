#pragma once

#include <windows.h>

#include <string>

#include "running_program.h"
#include "standard_icon.h"

namespace vestro::end_to_end {

// A message box of the program under test: a dialog captioned "VestroFile" with a text, an icon
// and one button.
class MessageBoxWindow {
  public:
    // Waits, bounded, for the program's message box and checks that owner owns it.
    static MessageBoxWindow WaitForOpen(const RunningProgram& program, HWND owner);
    // The program's message box, when one is shown now; nullptr otherwise.
    static HWND FindShown(DWORD processId);
    static std::wstring TextOf(HWND box);

    std::wstring Text() const;
    StandardIcon Icon() const;
    void RequireContent(const std::wstring& text, StandardIcon icon) const;
    // Presses its button as a user would, and waits until the box has gone.
    void PressOk() const;

  private:
    MessageBoxWindow(HWND box, HWND textLabel, HWND iconLabel, HWND button);

    HWND box_;
    HWND textLabel_;
    HWND iconLabel_;
    HWND button_;
};

}  // namespace vestro::end_to_end
