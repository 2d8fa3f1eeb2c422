#include "support/file_that_cannot_be_read.h"

namespace vestro::testing {

FileThatCannotBeRead::FileThatCannotBeRead(const std::filesystem::path& path) {
    std::filesystem::create_symlink(path.parent_path() / "missing-target", path);
}

FileThatCannotBeRead::~FileThatCannotBeRead() = default;

}  // namespace vestro::testing
