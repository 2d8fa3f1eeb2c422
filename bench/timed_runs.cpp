#include "timed_runs.h"

#include <chrono>
#include <optional>
#include <utility>

#include "bare_copy_loop.h"
#include "baseline_copy.h"
#include "copy_without_reuse.h"
#include "deployment/staged_replacement.h"
#include "file_system/file_system.h"
#include "file_system/path_conversion.h"
#include "peak_memory.h"
#include "run_record.h"
#include "utf8_text.h"
#include "written_bytes.h"

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
    if (side == "ours" || side == kOursWithoutReuseSide) {
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

// The job is given a call to make once the new data is in place; a job that never makes it
// reached that point only at its end.
template <typename Job>
std::string TimeAndRecord(const RunSettings& settings, const std::string& side, Job job) {
    const std::uint64_t peakBefore = PeakResidentBytes();
    const std::optional<std::uint64_t> writtenBefore = BytesWrittenToStorage();
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::chrono::duration<double>> toSuccess;
    std::string failure = job([&] { toSuccess = std::chrono::steady_clock::now() - start; });
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const std::uint64_t peakAfter = PeakResidentBytes();
    const std::optional<std::uint64_t> writtenAfter = BytesWrittenToStorage();
    if (!failure.empty()) {
        return failure;
    }
    std::optional<std::uint64_t> written;
    if (writtenBefore && writtenAfter) {
        written = *writtenAfter - *writtenBefore;
    }
    AppendRecord(settings.recordsFile,
                 FormatRecord(RunRecord{settings.platform, settings.dataSet, side, settings.warmUp,
                                        elapsed.count(), toSuccess.value_or(elapsed).count(),
                                        peakAfter, peakAfter - peakBefore, written}));
    return {};
}

// Into an empty folder beside the target, removed again untimed.
std::string TimeBareCopyLoop(const RunSettings& settings) {
    const std::filesystem::path destination = ToFileSystemPath(settings.targetDir + L".floor");
    BareCopyJob job;
    std::string failure = PrepareBareCopy(ToFileSystemPath(settings.sourceDir), destination, job);
    if (failure.empty()) {
        failure =
            TimeAndRecord(settings, settings.side, [&](const auto&) { return CopyEachFile(job); });
    }
    const Status removal = CreateFileSystem().value->DeleteFolder(ToPathText(destination), true);
    return failure.empty() && removal.Failed() ? Utf8(removal.description) : failure;
}

}  // namespace

bool IsSideName(const std::string& side) {
    TreeWorkers workers;
    return ParseOurs(side, workers) || IsBaselineName(side) || side == kBareCopyLoopSide;
}

std::string TimeSide(const RunSettings& settings) {
    if (settings.side == kBareCopyLoopSide) {
        return TimeBareCopyLoop(settings);
    }
    TreeWorkers workers;
    if (!ParseOurs(settings.side, workers)) {
        return TimeAndRecord(settings, settings.side, [&](const auto& newDataInPlace) {
            return RunBaselineCopy(settings.side, settings.sourceDir, settings.targetDir,
                                   newDataInPlace);
        });
    }
    FileSystemCreation creation = CreateFileSystemWithTreeWorkers(workers);
    if (creation.status.Failed()) {
        return Utf8(creation.status.description);
    }
    if (settings.side == kOursWithoutReuseSide) {
        creation.value = WithoutReuse(std::move(creation.value));
    }
    FileSystem& fileSystem = *creation.value;
    return TimeAndRecord(settings, settings.side, [&](const auto& newDataInPlace) -> std::string {
        const Status status = ReplaceFolderWithCopy(fileSystem, settings.sourceDir,
                                                    settings.targetDir, {}, newDataInPlace);
        return status.Failed() ? Utf8(status.description) : std::string();
    });
}

}  // namespace vestro::bench
