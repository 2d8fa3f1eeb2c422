#pragma once

#include <windows.h>

#include "file_system/file_system.h"
#include "win32_item_path.h"
#include "win32_sized_text.h"

namespace vestro {

// The final path of the nearest existing folder on the way to item (links, short names, letter
// case and substituted drives resolved by the system), with the names below it appended, in the
// usual form ("C:\...", "\\server\share\...").
ResolvedPath ResolveItemPath(const ItemPath& item);

// The final path of an open item, in the same form.
SizedText FinalPathOf(HANDLE item);

// The final path of what the system reaches at the path, links followed.
SizedText FinalPathReached(const std::wstring& systemPath);

// Whether two final paths name the same item, as Windows compares names.
bool IsSameFinalPath(const std::wstring& left, const std::wstring& right);

}  // namespace vestro
