#include "deployment/copy_action.h"

#include <string>
#include <system_error>

#include "deployment/path_derivation.h"
#include "deployment/staged_replacement.h"

namespace vestro {
namespace {

void ReportCopyFailure(Window& window, const Status& failure) {
    window.ShowMessage(kCopyFailedPrefix + (L"Error: " + failure.description),
                       MessageIcon::Exclamation);
    window.EnableOK(true);
    window.EnableCancel(true);
}

}  // namespace

void RunCopyAction(Window& window, FileSystem* fso, std::wstring_view programFolder) {
    const DerivationResult derivation =
        DeriveDeploymentPaths(window.SourcePathText(), programFolder);
    if (derivation.status.Failed()) {
        ReportCopyFailure(window, derivation.status);
        return;
    }
    const DeploymentPaths& paths = derivation.paths;
    if (fso == nullptr) {
        ReportCopyFailure(window, Status::Failure(std::make_error_code(std::errc::not_supported),
                                                  L"The file-system services are not available."));
        return;
    }

    const ExistsResult common = fso->FolderExists(paths.commonDir);
    if (common.status.Failed()) {
        ReportCopyFailure(window, common.status);
        return;
    }
    if (!common.exists) {
        window.ShowMessage(paths.commonDir + kCommonNotFoundSuffix, MessageIcon::Exclamation);
        window.EnableOK(true);
        window.EnableCancel(true);
        return;
    }

    window.EnableOK(false);
    window.EnableCancel(false);
    window.SetStatusText(kCopyingStatus);
    window.ProcessPendingEvents();

    if (Status status = ReplaceFolderWithCopy(*fso, paths.sourceDir, paths.targetDir);
        status.Failed()) {
        ReportCopyFailure(window, status);
        return;
    }
    window.ShowMessage(kCopySucceededMessage, MessageIcon::Information);
    window.Close();
}

}  // namespace vestro
