#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vestro::bench {

// "small": files of 1 to 16 KiB, 50 to a folder, the folders three levels deep (20,000 files
// make 400 folders). "deep": files of 0 to 4 KiB, 10 to a folder, the folders five levels
// deep. "large": files of 64 MiB side by side.
// Sizes and contents are pseudo-random but the same on every run. Returns false for an
// unknown name; throws std::filesystem::filesystem_error or std::ios_base::failure on I/O errors.
bool GenerateDataSet(const std::string& name, std::uint64_t files,
                     const std::filesystem::path& dataFolder);

// "redeploy": the small set's shape in dataFolder and the client's data from an earlier
// deployment in oldFolder: a copy that keeps last-write times, after which every hundredth file
// of dataFolder (in name order) is written again with other contents, another size and a later
// last-write time. Throws as GenerateDataSet.
void GenerateRedeploySet(std::uint64_t files, const std::filesystem::path& dataFolder,
                         const std::filesystem::path& oldFolder);

}  // namespace vestro::bench
