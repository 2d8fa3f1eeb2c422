#include "win32_link_probe.h"

#include <windows.h>

#include "file_system/win32_error_text.h"
#include "win32_linked_folder.h"

namespace vestro {

LinkProbe ProbeLinkEntry(const ItemPath& entry) {
    const DWORD attributes = GetFileAttributesW(entry.system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return {};
        }
        return {LinkKind::None, Win32Failure(error, CouldNot(L"read the folder", entry.display))};
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return {};
    }
    // A Windows link to a file, or one that leads nowhere, is a link too.
    const DWORD reparseTag = ReadReparseTag(entry.system);
    if (!IsLinkedFolder(attributes, reparseTag) && !IsReparseTagNameSurrogate(reparseTag)) {
        return {};
    }
    return {reparseTag == 0 ? LinkKind::LinkThatCannotMove : LinkKind::Link, Status::Success()};
}

}  // namespace vestro
