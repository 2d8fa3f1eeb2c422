#pragma once

#include "file_system/status.h"
#include "posix_item_path.h"

namespace vestro {

// Removes the folder and everything in it, with workers threads (0: the machine's choice).
// Symbolic links inside are removed as links and never followed. An item that cannot go stays,
// with the folders above it; everything else goes, and the first failure is returned. Without
// force, a file without write permission is such an item.
Status DeleteTree(const ItemPath& root, bool force, unsigned workers);

}  // namespace vestro
