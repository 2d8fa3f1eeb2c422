#pragma once

#include "file_system/file_system.h"
#include "win32_item_path.h"

namespace vestro {

// The file created new, shared only for reading its mark, and deleted when closed, so that a
// process that dies leaves neither the lock nor the file behind.
LockAcquisition LockFileExclusively(const ItemPath& file);

}  // namespace vestro
