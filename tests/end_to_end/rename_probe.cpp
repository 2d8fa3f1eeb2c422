#include "rename_probe.h"

#include <windows.h>

#include "file_operations.h"
#include "held_open_item.h"

namespace vestro::end_to_end {

bool RenameRefusedWhileFileInsideIsOpen(const std::wstring& scratchFolder) {
    const std::wstring folder = scratchFolder + L"\\folder";
    const std::wstring renamed = scratchFolder + L"\\renamed";
    WriteBytes(folder + L"\\open.txt", "held open");
    bool refused = false;
    {
        HeldOpenItem held =
            HeldOpenItem::File(folder + L"\\open.txt", FILE_SHARE_READ | FILE_SHARE_WRITE);
        refused = !MoveFileExW(ExtendedPath(folder).c_str(), ExtendedPath(renamed).c_str(), 0);
    }
    RemoveTree(scratchFolder);
    return refused;
}

}  // namespace vestro::end_to_end
