#include "client_location/browse_action.h"

#include "file_system/path_text.h"

namespace vestro {

void RunBrowseAction(Window& window, FileDialog& commonDialog) {
    // Set afresh on every click, so an earlier pick never shows up as the starting name.
    commonDialog.SetFileName(kClientFileName);
    commonDialog.SetCancelError(true);
    commonDialog.SetFilter(kClientFilter);
    commonDialog.SetFlags(kFileMustExist);

    const FileDialog::Result result = commonDialog.ShowOpen();
    if (result.outcome != FileDialog::Outcome::Chosen) {
        return;
    }
    window.SetSourcePathText(TrimSpaces(result.fileName));
}

}  // namespace vestro
