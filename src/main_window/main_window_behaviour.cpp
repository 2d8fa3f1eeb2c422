#include "main_window/main_window_behaviour.h"

#include <system_error>
#include <utility>

#include "client_location/browse_action.h"
#include "client_location/install_detection.h"
#include "deployment/copy_action.h"
#include "file_system/path_text.h"

namespace vestro {
namespace {

constexpr wchar_t kLoadFailedPrefix[] =
    L"An error has occurred while trying to find the VORIN install directory.  ";

Status CreationFailure(const FileSystemCreation& creation) {
    if (creation.status.Failed()) {
        return creation.status;
    }
    return Status::Failure(std::make_error_code(std::errc::not_enough_memory),
                           L"The file-system services could not be started.");
}

// Marks the window busy for the life of a copy, so no event met while it runs starts another.
class BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

}  // namespace

MainWindowBehaviour::MainWindowBehaviour(Window& window, FileSystemFactory createFileSystem,
                                         std::wstring programFolder, FileDialog& fileDialog)
    : window_(window),
      createFileSystem_(std::move(createFileSystem)),
      programFolder_(std::move(programFolder)),
      fileDialog_(fileDialog) {}

void MainWindowBehaviour::OnLoad() {
    Status failure;
    FileSystemCreation creation = createFileSystem_();
    if (creation.fileSystem == nullptr || creation.status.Failed()) {
        failure = CreationFailure(creation);
    } else {
        fso = std::move(creation.fileSystem);
        window_.SetStatusText(L"");
        DetectionResult detection = DetectInstall(*fso);
        if (detection.status.Failed()) {
            failure = std::move(detection.status);
        } else {
            window_.SetSourcePathText(detection.exePath);
            return;
        }
    }
    window_.ShowMessage(kLoadFailedPrefix + (L"Error: " + failure.description),
                        MessageIcon::Exclamation);
    window_.SetSourcePathText(L"");
}

void MainWindowBehaviour::CheckSourcePath() {
    // OK stays disabled while a copy runs, even if the path box changes meanwhile.
    if (busy_) {
        return;
    }
    const std::wstring text = window_.SourcePathText();
    if (TrimSpaces(text).empty()) {
        window_.EnableOK(false);
        return;
    }
    // A check that cannot be asked leaves OK disabled rather than offering a copy that fails.
    bool fileExists = false;
    FileSystemCreation checker = createFileSystem_();
    if (checker.fileSystem != nullptr && !checker.status.Failed()) {
        fileExists = checker.fileSystem->FileExists(text).exists;
    }
    window_.EnableOK(fileExists);
}

void MainWindowBehaviour::OnOKClick() {
    if (busy_) {
        return;
    }
    BusyScope busy(busy_);
    RunCopyAction(window_, fso.get(), programFolder_);
}

void MainWindowBehaviour::OnBrowseClick() {
    // The copy's one pass over pending events may deliver a click; a dialog then would stall it.
    if (busy_) {
        return;
    }
    RunBrowseAction(window_, fileDialog_);
}

void MainWindowBehaviour::OnCancelClick() {
    if (busy_) {
        return;
    }
    window_.Close();
}

bool MainWindowBehaviour::OnCloseRequest() const {
    return !busy_;
}

void MainWindowBehaviour::OnUnload() {
    fso.reset();
}

}  // namespace vestro
