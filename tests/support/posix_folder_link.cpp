#include "support/folder_link.h"

#include <system_error>

namespace vestro::testing {

FolderLinks::~FolderLinks() {
    for (const std::filesystem::path& link : links_) {
        std::error_code ignored;
        std::filesystem::remove(link, ignored);
    }
}

std::string FolderLinks::Make(const std::filesystem::path& link,
                              const std::filesystem::path& target) {
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    if (error) {
        return "cannot link " + link.string() + ": " + error.message();
    }
    links_.push_back(link);
    return {};
}

bool RunningUnderWine() {
    return false;
}

}  // namespace vestro::testing
