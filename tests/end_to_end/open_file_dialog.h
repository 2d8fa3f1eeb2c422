#pragma once

#include <windows.h>

#include <string>

#include "running_program.h"

namespace vestro::end_to_end {

// The platform's file-open dialog as the program under test shows it.
class OpenFileDialog {
  public:
    // Waits, bounded, for the program's open dialog, owned by owner.
    static OpenFileDialog WaitForOpen(const RunningProgram& program, HWND owner);

    HWND Handle() const { return dialog_; }
    bool IsOpen() const { return IsWindow(dialog_) != FALSE; }
    std::wstring FileNameText() const;
    // Types into the file-name box and presses Open.
    void Accept(const std::wstring& fileName) const;
    void Cancel() const;
    // The dialog's own warning (a file that does not exist, say): waits for it, presses its
    // button, and returns its text.
    std::wstring DismissWarning() const;
    // Fails unless the dialog has gone within the bounded time.
    void RequireClosed(const std::wstring& after) const;

  private:
    OpenFileDialog(HWND dialog, HWND fileNameBox, HWND openButton, HWND cancelButton);

    HWND dialog_;
    HWND fileNameBox_;
    HWND openButton_;
    HWND cancelButton_;
};

}  // namespace vestro::end_to_end
