#include "main_window/main_window_behaviour.h"

#include <utility>

#include "client_location/browse_action.h"
#include "client_location/install_detection.h"
#include "deployment/path_derivation.h"
#include "file_system/path_text.h"
#include "main_window/user_texts.h"

namespace vestro {

MainWindowBehaviour::MainWindowBehaviour(Window& window, FileSystemFactory createFileSystem,
                                         std::wstring programFolder, FileDialog& fileDialog,
                                         Deployment deploy)
    : window_(window),
      createFileSystem_(std::move(createFileSystem)),
      programFolder_(std::move(programFolder)),
      fileDialog_(fileDialog),
      deploy_(std::move(deploy)) {}

void MainWindowBehaviour::OnLoad() {
    std::wstring failure;
    FileSystemCreation creation = createFileSystem_();
    if (creation.value == nullptr || creation.status.Failed()) {
        failure = creation.status.Failed() ? creation.status.description : kFileSystemNotStarted;
    } else {
        fileSystem_ = std::move(creation.value);
        window_.SetStatusText(L"");
        Result<std::wstring> detection = DetectInstall(*fileSystem_);
        if (!detection.status.Failed()) {
            window_.SetSourcePathText(detection.value);
            return;
        }
        failure = std::move(detection.status.description);
    }
    window_.ShowMessage(kLoadFailedPrefix + (kErrorLead + failure), MessageIcon::Exclamation);
    window_.SetSourcePathText(L"");
}

void MainWindowBehaviour::CheckSourcePath() {
    // Asked with the spaces as typed. Without a file system OK stays disabled rather than
    // offering a copy that fails.
    const std::wstring text = window_.SourcePathText();
    window_.EnableOK(!CleanPathText(text).empty() && fileSystem_ != nullptr &&
                     fileSystem_->FileExists(WithoutPathQuotes(text)).value);
}

void MainWindowBehaviour::OnOKClick() {
    // OK is disabled while a copy runs; a second worker must never start over the first.
    if (copyUnderway_) {
        return;
    }
    const Result<DeploymentPaths> derivation =
        DeriveDeploymentPaths(window_.SourcePathText(), programFolder_);
    if (derivation.status.Failed()) {
        ReportCopyFailure(derivation.status.description);
        return;
    }
    // Without it Data would be looked for as \Data on the current drive.
    if (programFolder_.empty()) {
        ReportCopyFailure(kProgramFolderUnknown);
        return;
    }
    if (fileSystem_ == nullptr) {
        ReportCopyFailure(kFileSystemUnavailable);
        return;
    }
    const DeploymentPaths& paths = derivation.value;
    const Result<bool> common = fileSystem_->FolderExists(paths.commonDir);
    if (common.status.Failed()) {
        ReportCopyFailure(common.status.description);
        return;
    }
    if (!common.value) {
        window_.ShowMessage(paths.commonDir + kCommonNotFoundSuffix, MessageIcon::Exclamation);
        window_.EnableOK(true);
        window_.EnableCancel(true);
        return;
    }

    copyUnderway_ = true;
    window_.EnableOK(false);
    window_.EnableCancel(false);
    // The window keeps answering during the copy: nothing may change the path under it.
    window_.EnableBrowse(false);
    window_.SetSourcePathReadOnly(true);
    window_.SetStatusText(kCopyingStatus);
    window_.ShowCopyInProgress(true);
    copyWorker_.Start(deploy_, *fileSystem_, paths, window_);
}

void MainWindowBehaviour::OnCopyFinished() {
    // A success arrives while the worker still removes the old data; the window's end waits
    // for that, after the window has gone from the screen.
    const Status outcome = copyWorker_.Outcome();
    window_.EnableBrowse(true);
    window_.SetSourcePathReadOnly(false);
    if (outcome.Failed()) {
        // The copy is over: the window is as it was before, with OK and Cancel still disabled
        // until the failure has been reported.
        window_.ShowCopyInProgress(false);
        ReportCopyFailure(outcome.description);
    } else {
        // The full bar stays behind the message that says why.
        window_.ShowMessage(kCopySucceededMessage, MessageIcon::Information);
        window_.ShowCopyInProgress(false);
        window_.Close();
    }
    copyUnderway_ = false;
}

void MainWindowBehaviour::OnBrowseClick() {
    if (std::optional<std::wstring> chosen = RunBrowseAction(fileDialog_)) {
        window_.SetSourcePathText(*chosen);
    }
}

void MainWindowBehaviour::OnCancelClick() {
    window_.Close();
}

bool MainWindowBehaviour::OnCloseRequest() const {
    return !copyUnderway_;
}

void MainWindowBehaviour::OnUnload() {
    copyWorker_.Finish();
    fileSystem_.reset();
}

void MainWindowBehaviour::ReportCopyFailure(const std::wstring& description) {
    window_.ShowMessage(kCopyFailedPrefix + (kErrorLead + description), MessageIcon::Exclamation);
    window_.EnableOK(true);
    window_.EnableCancel(true);
}

}  // namespace vestro
