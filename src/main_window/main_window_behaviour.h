#pragma once

#include <functional>
#include <memory>
#include <string>

#include "client_location/file_dialog.h"
#include "file_system/file_system.h"
#include "main_window/window.h"

namespace vestro {

using FileSystemFactory = std::function<FileSystemCreation()>;

// What frmVestroFile does, written once against the Window interface: the Win32 window forwards
// each of its events here, and tests drive it with a fake window.
class MainWindowBehaviour {
  public:
    // programFolder: the folder that holds the running program; Data is looked for beside it.
    MainWindowBehaviour(Window& window, FileSystemFactory createFileSystem,
                        std::wstring programFolder, FileDialog& fileDialog);

    void OnLoad();
    // Every change of the path box, typed or set by the program.
    void CheckSourcePath();
    void OnOKClick();
    void OnBrowseClick();
    void OnCancelClick();
    // The close box. Returns whether the window may close now: not while a copy runs, since
    // Cancel is disabled then and the close box behaves like Cancel.
    bool OnCloseRequest() const;
    void OnUnload();

    bool IsBusy() const { return busy_; }
    bool HasFileSystem() const { return fso != nullptr; }

  private:
    Window& window_;
    FileSystemFactory createFileSystem_;
    std::wstring programFolder_;
    FileDialog& fileDialog_;
    std::unique_ptr<FileSystem> fso;
    bool busy_ = false;
};

}  // namespace vestro
