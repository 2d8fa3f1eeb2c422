#pragma once

#include "file_system/file_system.h"
#include "posix_item_path.h"

namespace vestro {

// An advisory lock (flock) on the file, which belongs to its own open descriptor, so that two
// threads of one process exclude each other as two processes do. The file is removed on release.
LockAcquisition LockFileExclusively(const ItemPath& file);

}  // namespace vestro
