#pragma once

#include <memory>

#include "file_system/file_system.h"

namespace vestro::bench {

// The file system as given, except that a copy never reuses the old data: every file is copied
// and the room asked for is all of it, as our replacement was before it reused files. Lets the
// benchmark time our full replacement beside the one that reuses, without a setting in the
// product.
std::unique_ptr<FileSystem> WithoutReuse(std::unique_ptr<FileSystem> fileSystem);

}  // namespace vestro::bench
