#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vestro::bench {

// The floor under our copy: every file of a tree copied by the system's single-file call in a
// plain loop, with no walk, check or swap in the timed part.
struct BareCopyJob {
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> files;
};

// Untimed: lists source's files and makes its folders under destination, which must not exist.
// Returns an empty text on success, else what went wrong.
std::string PrepareBareCopy(const std::filesystem::path& source,
                            const std::filesystem::path& destination, BareCopyJob& job);
// The timed loop.
std::string CopyEachFile(const BareCopyJob& job);
// One file, with the platform's own call (CopyFileExW on Windows).
std::string CopySingleFile(const std::filesystem::path& source,
                           const std::filesystem::path& destination);

}  // namespace vestro::bench
