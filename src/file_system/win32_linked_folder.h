#pragma once

#include <windows.h>

#include <string>

namespace vestro {

// A folder entry that stands for another folder: a symbolic link, junction or mount point
// ("name surrogate" reparse points). Other reparse points, such as cloud-file placeholders, are
// ordinary folders with content. Wine shows a Unix symbolic link as a reparse point without a
// tag; it counts as a link too, so that it is never entered while deleting.
inline bool IsLinkedFolder(DWORD attributes, DWORD reparseTag) {
    const DWORD linkedFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & linkedFolder) == linkedFolder &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

// The reparse tag of the item at the path, or 0 when it has none or it cannot be read.
DWORD ReadReparseTag(const std::wstring& systemPath);

}  // namespace vestro
