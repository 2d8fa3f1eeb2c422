#pragma once

#include <filesystem>
#include <string>

namespace vestro::bench {

struct RunSettings {
    std::string side;  // "ours", "ours@<workers>", "ours-full", or a baseline's name
    std::string platform;
    std::string dataSet;
    bool warmUp = false;
    std::wstring sourceDir;
    std::wstring targetDir;
    std::filesystem::path recordsFile;
};

// Replaces targetDir with a copy of sourceDir the side's way, times it on a monotonic clock and
// appends a RunRecord with the whole time, the time until the new data was in place and the bytes
// written to storage meanwhile. Returns an
// empty text on success, else what went wrong.
std::string TimeSide(const RunSettings& settings);

// The floor: a bare loop of the system's single-file copy over Data's files (bare_copy_loop.h).
inline constexpr const char* kBareCopyLoopSide = "floor";

// Ours with reuse of the old data turned off in the benchmark (copy_without_reuse.h): every file
// copied, as a first deployment would.
inline constexpr const char* kOursWithoutReuseSide = "ours-full";

// True for "floor", "ours-full", "ours", "ours@<workers>" (our deployment with that many tree
// workers) and the baselines of this platform.
bool IsSideName(const std::string& side);

}  // namespace vestro::bench
