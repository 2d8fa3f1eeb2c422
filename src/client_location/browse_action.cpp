#include "client_location/browse_action.h"

#include "file_system/path_text.h"

namespace vestro {

std::optional<std::wstring> RunBrowseAction(FileDialog& fileDialog) {
    // Set afresh on every click, so an earlier pick never shows up as the starting name.
    fileDialog.SetFileName(kClientFileName);
    fileDialog.SetCancelError(true);
    fileDialog.SetFilter(kClientFilter);
    fileDialog.SetFlags(kFileMustExist);

    const FileDialog::Result result = fileDialog.ShowOpen();
    if (result.outcome != FileDialog::Outcome::Chosen) {
        return std::nullopt;
    }
    return CleanPathText(result.fileName);
}

}  // namespace vestro
