#pragma once

#include "file_system/hold_wait.h"
#include "file_system/status.h"
#include "win32_item_path.h"

namespace vestro {

// Removes the folder and everything in it, with workers threads (0: the machine's choice); with
// force, read-only items too. Linked folders inside are removed as links and never entered. An
// item that cannot go (a file another program holds open past the wait, a link Windows cannot
// remove) stays, with the folders above it; everything else goes, and the first failure is
// returned.
Status DeleteTree(const ItemPath& root, bool force, unsigned workers, const HoldWait& wait);

}  // namespace vestro
