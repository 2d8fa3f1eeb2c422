#pragma once

#include "file_system/file_system.h"
#include "posix_item_path.h"

namespace vestro {

// The canonical path of the nearest existing folder on the way to item (symbolic links, "." and
// ".." resolved by the system), with the names below it appended.
ResolvedPath ResolveItemPath(const ItemPath& item);

}  // namespace vestro
