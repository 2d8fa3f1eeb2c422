#pragma once

#include "file_system/file_system.h"
#include "posix_item_path.h"

namespace vestro {

// Counts the files and their bytes; linked folders are not entered, and a link that leads out
// of the tree refuses it. workers: threads reading folders side by side (0: the machine's
// choice).
FolderSize MeasureTree(const ItemPath& root, unsigned workers);

}  // namespace vestro
