#pragma once

#include "file_system/posix_item_path.h"
#include "file_system/status.h"

namespace vestro {

// Removes the folder and everything in it. Symbolic links inside are removed as links and never
// followed. Without force, a file without write permission stops the removal.
Status DeleteTree(const ItemPath& root, bool force);

}  // namespace vestro
