#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "main_window/win32_layout.h"
#include "main_window/win32_main_window.h"
#include "support/scripted_file_dialog.h"
#include "support/temporary_folder.h"

namespace vestro::testing {

// The real frmVestroFile with the real file system, created but not opened. Its program folder is
// <temporary>\Program; the open-file dialog is scripted.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND Handle() const { return window->Handle(); }
    HWND ControlOf(ControlId id) const { return window->Control(id); }
    std::wstring TextOf(ControlId id) const;
    bool IsEnabled(ControlId id) const { return IsWindowEnabled(ControlOf(id)) != FALSE; }

    // What the control sends its parent when the user clicks it.
    void Click(ControlId id);
    // Lets the window handle everything queued, as its message loop would.
    void Pump();
    // The exit code of a WM_QUIT waiting in the queue, taken out of it; -1 if there is none.
    int TakeQuit();

    // The program folder with a Data folder holding one file, and a client installation at
    // <temporary>\Client with its Common folder. Returns the path of Client\Tarno.exe.
    std::wstring LayOutClientAndData();

    TemporaryFolder temporary;
    ScriptedFileDialog dialog;
    std::unique_ptr<Win32MainWindow> window;
    // Whether the window was visible each time the behaviour asked for a file-system object.
    std::vector<bool> visibleAtFileSystemCreation;
    // Makes every request for a file-system object fail.
    bool failFileSystemCreation = false;
};

}  // namespace vestro::testing
