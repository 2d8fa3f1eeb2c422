#include "timed_runs.h"

#include <chrono>

#include "baseline_copy.h"
#include "deployment/staged_replacement.h"
#include "file_system/file_system.h"
#include "peak_memory.h"
#include "run_record.h"
#include "utf8_text.h"

namespace vestro::bench {
namespace {

unsigned ParseCount(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != text.npos) {
        return 0;
    }
    return static_cast<unsigned>(std::stoul(text));
}

// "ours@8": 8 workers for copying and for deleting; "ours@8:32": 8 and 32; plain "ours": the
// product's own choice.
bool ParseOurs(const std::string& side, TreeWorkers& workers) {
    workers = {};
    if (side == "ours") {
        return true;
    }
    if (!side.starts_with("ours@")) {
        return false;
    }
    const std::string counts = side.substr(5);
    const std::size_t colon = counts.find(':');
    workers.copy = ParseCount(counts.substr(0, colon));
    workers.removal =
        colon == std::string::npos ? workers.copy : ParseCount(counts.substr(colon + 1));
    return workers.copy > 0 && workers.removal > 0;
}

template <typename Job>
std::string TimeAndRecord(const RunSettings& settings, const std::string& side, Job job) {
    const std::uint64_t peakBefore = PeakResidentBytes();
    const auto start = std::chrono::steady_clock::now();
    std::string failure = job();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const std::uint64_t peakAfter = PeakResidentBytes();
    if (!failure.empty()) {
        return failure;
    }
    AppendRecord(settings.recordsFile,
                 FormatRecord(RunRecord{settings.platform, settings.dataSet, side, settings.warmUp,
                                        elapsed.count(), peakAfter, peakAfter - peakBefore}));
    return {};
}

}  // namespace

bool IsSideName(const std::string& side) {
    TreeWorkers workers;
    return ParseOurs(side, workers) || IsBaselineName(side);
}

std::string TimeSide(const RunSettings& settings) {
    TreeWorkers workers;
    if (!ParseOurs(settings.side, workers)) {
        return TimeAndRecord(settings, settings.side, [&] {
            return RunBaselineCopy(settings.side, settings.sourceDir, settings.targetDir);
        });
    }
    FileSystemCreation creation = CreateFileSystemWithTreeWorkers(workers);
    if (creation.status.Failed()) {
        return Utf8(creation.status.description);
    }
    FileSystem& fileSystem = *creation.fileSystem;
    return TimeAndRecord(settings, settings.side, [&]() -> std::string {
        const Status status =
            ReplaceFolderWithCopy(fileSystem, settings.sourceDir, settings.targetDir);
        return status.Failed() ? Utf8(status.description) : std::string();
    });
}

}  // namespace vestro::bench
