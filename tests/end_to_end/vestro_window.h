#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "running_program.h"

namespace vestro::end_to_end {

// What a user sees of the window: the path box, the status line and which buttons respond.
struct WindowState {
    std::wstring pathText;
    std::wstring statusText;
    bool okEnabled = false;
    bool cancelEnabled = false;
    bool browseEnabled = false;
};

// The parts of the state a check is about; the parts left empty are not compared.
struct ExpectedWindowState {
    std::optional<std::wstring> pathText = std::nullopt;
    std::optional<std::wstring> statusText = std::nullopt;
    std::optional<bool> okEnabled = std::nullopt;
    std::optional<bool> cancelEnabled = std::nullopt;
    std::optional<bool> browseEnabled = std::nullopt;
};

// The window "Copy Vestro Files" of a running VestroFile.exe, worked from outside.
class VestroWindow {
  public:
    // Waits, bounded, until the program shows its window. Fails when the program shows a message
    // or ends instead.
    static VestroWindow WaitForOpen(const RunningProgram& program);

    HWND Handle() const { return window_; }
    bool IsOpen() const;
    WindowState ReadState() const;
    // Waits, bounded, for the state: the program may still be finishing the event that leads to
    // it. Fails naming every part that differs.
    void RequireState(const ExpectedWindowState& expected, const std::wstring& when) const;

    void TypePath(const std::wstring& text) const;
    // Clicks are posted: a click that opens a modal window must not hold up the scenario.
    void ClickOk() const;
    void ClickCancel() const;
    void ClickBrowse() const;
    void PressCloseBox() const;
    // WM_CLOSE, as the taskbar and other programs ask a window to close.
    void RequestClose() const;

  private:
    explicit VestroWindow(HWND window);

    HWND window_;
    HWND pathBox_;
    HWND statusLabel_;
    HWND okButton_;
    HWND cancelButton_;
    HWND browseButton_;
};

}  // namespace vestro::end_to_end
