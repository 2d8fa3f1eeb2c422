#pragma once

#include <filesystem>
#include <string>

namespace vestro::bench {

struct RunSettings {
    std::string platform;
    std::string dataSet;
    bool warmUp = false;
    std::wstring sourceDir;
    std::wstring targetDir;
    std::filesystem::path recordsFile;
};

// Each replaces targetDir with a copy of sourceDir, times it on a monotonic clock and appends a
// RunRecord. They return an empty text on success, else what went wrong.
std::string TimeOurDeployment(const RunSettings& settings);
std::string TimeBaseline(const RunSettings& settings);

}  // namespace vestro::bench
