#include "support/folder_link.h"

#include <system_error>

namespace vestro::testing {

// Natively the temporary folder removes a link as a link: nothing to do here.
FolderLinks::~FolderLinks() = default;

std::string FolderLinks::Make(const std::filesystem::path& link,
                              const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    return error ? "cannot link " + link.string() + ": " + error.message() : "";
}

bool RunningUnderWine() {
    return false;
}

}  // namespace vestro::testing
