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

// "ours@8": 8 tree workers; plain "ours": the product's own choice (0).
bool ParseOurs(const std::string& side, unsigned& workers) {
    if (side == "ours") {
        workers = 0;
        return true;
    }
    if (!side.starts_with("ours@") || side.size() == 5 ||
        side.find_first_not_of("0123456789", 5) != std::string::npos) {
        return false;
    }
    workers = static_cast<unsigned>(std::stoul(side.substr(5)));
    return workers > 0;
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
    unsigned workers = 0;
    return ParseOurs(side, workers) || IsBaselineName(side);
}

std::string TimeSide(const RunSettings& settings) {
    unsigned workers = 0;
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
