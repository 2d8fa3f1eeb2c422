#pragma once

#include <functional>
#include <memory>
#include <string>

#include "client_location/file_dialog.h"
#include "file_system/file_system.h"
#include "main_window/copy_worker.h"
#include "main_window/window.h"

namespace vestro {

using FileSystemFactory = std::function<FileSystemCreation()>;

// What frmVestroFile does, written once against the Window interface: the Win32 window forwards
// each of its events here, and tests drive it with a fake window. Everything runs on the
// window's thread except the copy itself, which runs beside it (CopyWorker).
class MainWindowBehaviour {
  public:
    // programFolder: the folder that holds the running program, Data is looked for beside it;
    // empty when it could not be found.
    MainWindowBehaviour(Window& window, FileSystemFactory createFileSystem,
                        std::wstring programFolder, FileDialog& fileDialog,
                        Deployment deploy = DeployData);

    void OnLoad();
    // Every change of the path box, typed or set by the program.
    void CheckSourcePath();
    void OnOKClick();
    // The copy's end, posted by its worker.
    void OnCopyFinished();
    void OnBrowseClick();
    void OnCancelClick();
    // The close box. Returns whether the window may close now: not while a copy runs, since
    // Cancel is disabled then and the close box behaves like Cancel.
    bool OnCloseRequest() const;
    // Whether a copy still runs (removing the old data, after its success was told).
    bool CopyStillRuns() const { return !copyWorker_.HasEnded(); }
    // Waits for a copy still running, so it never outlives the file system it uses.
    void OnUnload();

  private:
    void ReportCopyFailure(const std::wstring& description);

    Window& window_;
    FileSystemFactory createFileSystem_;
    std::wstring programFolder_;
    FileDialog& fileDialog_;
    Deployment deploy_;
    std::unique_ptr<FileSystem> fileSystem_;
    // From the busy state shown on OK until the copy's outcome has been reported.
    bool copyUnderway_ = false;
    // Last, so that a copy still running ends before anything it uses goes.
    CopyWorker copyWorker_;
};

}  // namespace vestro
