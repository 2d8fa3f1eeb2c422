#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vestro::bench {

struct TreeComparison {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    // Empty when the trees hold the same folders and files with the same sizes (and, when
    // asked, the same bytes); else the first difference found.
    std::string difference;
};

// Compares the tree of copy against that of original. Throws std::filesystem::filesystem_error
// when a tree cannot be read.
TreeComparison CompareTrees(const std::filesystem::path& original,
                            const std::filesystem::path& copy, bool compareContents);

}  // namespace vestro::bench
