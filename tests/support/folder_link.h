#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vestro::testing {

// Symbolic links to folders or files, made for a test and removed (as links) when it ends. On
// Windows a symbolic link needs elevation or Developer Mode; under Wine, whose CreateSymbolicLinkW
// makes nothing, a Unix link is made instead, which Windows code sees as a linked folder (and a
// link to a file as the file itself).
class FolderLinks {
  public:
    FolderLinks() = default;
    FolderLinks(const FolderLinks&) = delete;
    FolderLinks& operator=(const FolderLinks&) = delete;
    ~FolderLinks();

    // Empty on success, else why no link could be made.
    std::string Make(const std::filesystem::path& link, const std::filesystem::path& target);

  private:
    std::vector<std::filesystem::path> links_;
};

bool RunningUnderWine();

}  // namespace vestro::testing
