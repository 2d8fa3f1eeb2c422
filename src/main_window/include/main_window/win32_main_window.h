#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "client_location/win32_file_dialog.h"
#include "file_system/status.h"
#include "main_window/main_window_behaviour.h"
#include "main_window/win32_layout.h"
#include "main_window/win32_shutdown_reason.h"
#include "main_window/win32_taskbar_progress.h"
#include "main_window/window.h"

namespace vestro {

// frmVestroFile on Win32: turns window messages into calls of MainWindowBehaviour and the
// behaviour's requests into Win32 calls. It decides nothing itself.
class Win32MainWindow final : public Window {
  public:
    Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder);
    // With a file dialog, a way of putting the data in place and a shutdown reason, of the
    // caller's.
    Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder,
                    FileDialog& fileDialog, Deployment deploy = DeployData,
                    ShutdownReason& shutdownReason = SystemShutdownReason());
    ~Win32MainWindow() override;

    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the hidden window with its controls in their design-time state.
    Status Create(HINSTANCE instance);
    // Runs the load sequence, then shows the window.
    void Open(int showCommand);

    HWND Handle() const { return window_; }
    HWND Control(ControlId id) const;

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
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnCommand(int id, int notification);
    LRESULT OnControlColour(HDC context, HWND control);
    bool OnSetCursor(int hitTest);
    void OnActivate(bool active);
    void OnSetFocus();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnClose();
    void OnCopyProgress(unsigned permille);
    bool OnQueryEndSession();
    void OnDestroy();

    bool CreateControls();
    // visibility: WS_VISIBLE, or 0 for a control hidden at first.
    bool CreateControl(HINSTANCE instance, const ControlLayout& control, DWORD visibility);
    // Without a top-left corner the window is centred on its monitor.
    void SizeWindow(std::optional<POINT> topLeft);
    void PlaceControls();
    void PlaceControl(const ControlLayout& control);
    void SetProgressBarMarquee(bool marquee);
    void ApplyFont();
    void EnableControl(ControlId id, bool enabled);
    void RunHandler(void (MainWindowBehaviour::*handler)());
    void DestroyWhenIdle();

    Win32FileDialog openFileDialog_;
    TaskbarProgress taskbarProgress_;
    ShutdownReason& shutdownReason_;
    bool shutdownReasonShown_ = false;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND focusToRestore_ = nullptr;
    int handlersRunning_ = 0;
    bool closeWhenIdle_ = false;
    bool destroying_ = false;
    bool copyShownInProgress_ = false;
    Status creationFailure_;
    // Last: its copy, if one still runs, ends while everything it posts to is still there.
    MainWindowBehaviour behaviour_;
};

}  // namespace vestro
