#pragma once

#include "file_system/file_system.h"
#include "win32_item_path.h"

namespace vestro {

// A symbolic link or junction is renamed and removed as itself. Wine shows a Unix link as a
// linked folder without a reparse tag, and both its rename and its removal reach through it.
LinkProbe ProbeLinkEntry(const ItemPath& entry);

}  // namespace vestro
