#pragma once

#include <windows.h>

#include <string>

#include "client_location/win32_file_dialog.h"
#include "file_system/status.h"
#include "main_window/main_window_behaviour.h"
#include "main_window/win32_form.h"
#include "main_window/win32_taskbar_progress.h"
#include "main_window/win32_window_base.h"
#include "main_window/window.h"

namespace vestro {

// The sentence Windows shows for a window that holds off a sign-out or shutdown, and asks the
// user whether to wait. Wine keeps no such reason.
class ShutdownReason {
  public:
    virtual ~ShutdownReason() = default;

    virtual void Show(HWND window, const wchar_t* reason) = 0;
    virtual void Remove(HWND window) = 0;
};

// ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy.
ShutdownReason& SystemShutdownReason();

// frmVestroFile on Win32: turns window messages into calls of MainWindowBehaviour and the
// behaviour's requests into Win32 calls. It decides nothing itself.
class Win32MainWindow final : public Win32WindowBase, public Window {
  public:
    Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder);
    // With a file dialog, a way of putting the data in place and a shutdown reason, of the
    // caller's.
    Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder,
                    FileDialog& fileDialog, Deployment deploy = DeployData,
                    ShutdownReason& shutdownReason = SystemShutdownReason());
    ~Win32MainWindow() override;

    // Creates the hidden window with its controls in their design-time state.
    Status Create(HINSTANCE instance);
    // Runs the load sequence, then shows the window.
    void Open(int showCommand);

    HWND Control(ControlId id) const { return GetDlgItem(Handle(), static_cast<int>(id)); }

    std::wstring SourcePathText() const override;
    void SetSourcePathText(const std::wstring& text) override;
    void SetSourcePathReadOnly(bool readOnly) override;
    void EnableOK(bool enabled) override;
    void EnableCancel(bool enabled) override;
    void EnableBrowse(bool enabled) override;
    void SetStatusText(const std::wstring& text) override;
    void ShowCopyInProgress(bool shown) override;
    void ShowMessage(const std::wstring& text, MessageIcon icon) override;
    void Close() override;
    void PostCopyProgress(unsigned permille) override;
    void PostCopyFinished() override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool OnCreate();
    void OnCommand(int id, int notification);
    LRESULT OnControlColour(HDC context, HWND control);
    bool OnSetCursor(int hitTest);
    void OnActivate(bool active);
    void OnSetFocus();
    void OnClose();
    void OnCopyProgress(unsigned permille);
    bool OnQueryEndSession();
    void OnDestroy();

    void SetProgressBarMarquee(bool marquee);
    void EnableControl(ControlId id, bool enabled);
    void RunHandler(void (MainWindowBehaviour::*handler)());
    void DestroyWhenIdle();

    Win32Form form_;
    Win32FileDialog openFileDialog_;
    TaskbarProgress taskbarProgress_;
    ShutdownReason& shutdownReason_;
    bool shutdownReasonShown_ = false;
    HWND focusToRestore_ = nullptr;
    int handlersRunning_ = 0;
    bool closeWhenIdle_ = false;
    bool destroying_ = false;
    bool copyShownInProgress_ = false;
    Status creationFailure_;
    // Last: its copy, if one still runs, ends while everything it posts to is still there.
    MainWindowBehaviour behaviour_;
};

// Runs until WM_QUIT and returns its exit code. Tab and the arrow keys move between the
// window's controls, as in a dialog.
int RunMessageLoop(HWND window);

}  // namespace vestro
