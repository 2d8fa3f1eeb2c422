#pragma once

#include <cstdint>

#include "file_system/status.h"
#include "posix_item_path.h"

namespace vestro {

// Copies one file's content and permission bits to a new file (with overwrite, over an existing
// one); a link as source is copied as the file it points to, a link as destination is refused.
// bytesCopied: the file's size, once copied.
Status CopyOneFile(const ItemPath& source, const ItemPath& destination, bool overwrite,
                   std::uint64_t& bytesCopied);

}  // namespace vestro
