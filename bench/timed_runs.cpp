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

std::string TimeOurDeployment(const RunSettings& settings) {
    FileSystemCreation creation = CreateFileSystem();
    if (creation.status.Failed()) {
        return Utf8(creation.status.description);
    }
    FileSystem& fileSystem = *creation.fileSystem;
    return TimeAndRecord(settings, "ours", [&]() -> std::string {
        const Status status =
            ReplaceFolderWithCopy(fileSystem, settings.sourceDir, settings.targetDir);
        return status.Failed() ? Utf8(status.description) : std::string();
    });
}

std::string TimeBaseline(const RunSettings& settings) {
    return TimeAndRecord(settings, "baseline",
                         [&] { return RunBaselineCopy(settings.sourceDir, settings.targetDir); });
}

}  // namespace vestro::bench
