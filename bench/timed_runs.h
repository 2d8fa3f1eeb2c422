#pragma once

#include <filesystem>
#include <string>

namespace vestro::bench {

struct RunSettings {
    std::string side;  // "ours", "ours@<workers>", or a baseline's name
    std::string platform;
    std::string dataSet;
    bool warmUp = false;
    std::wstring sourceDir;
    std::wstring targetDir;
    std::filesystem::path recordsFile;
};

// Replaces targetDir with a copy of sourceDir the side's way, times it on a monotonic clock and
// appends a RunRecord with the whole time and the time until the new data was in place. Returns an
// empty text on success, else what went wrong.
std::string TimeSide(const RunSettings& settings);

// The floor: a bare loop of the system's single-file copy over Data's files (bare_copy_loop.h).
inline constexpr const char* kBareCopyLoopSide = "floor";

// True for "floor", "ours", "ours@<workers>" (our deployment with that many tree workers) and the
// baselines of this platform.
bool IsSideName(const std::string& side);

}  // namespace vestro::bench
