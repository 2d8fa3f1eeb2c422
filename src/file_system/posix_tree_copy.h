#pragma once

#include "file_system/file_system.h"
#include "file_system/status.h"
#include "posix_item_path.h"

namespace vestro {

// Makes destination a copy of the whole tree of source; the contents of source arrive directly
// in destination, which may exist already. Linked folders are copied as the folders they point
// to; a link back to a folder that contains it fails the copy, and so does a destination inside
// the source (the walk would meet it) and a folder with names that differ only in letter case.
// workers: threads copying files (0: the machine's choice). The first failure stops the copy
// and is the one returned. progress, when set, hears the bytes copied after each file.
Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress, unsigned workers);

}  // namespace vestro
