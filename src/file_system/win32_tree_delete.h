#pragma once

#include "file_system/status.h"
#include "file_system/win32_item_path.h"

namespace vestro {

// Removes the folder and everything in it; with force, read-only items too. Linked folders
// inside are removed as links and never entered.
Status DeleteTree(const ItemPath& root, bool force);

}  // namespace vestro
