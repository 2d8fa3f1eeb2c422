#include "results_table.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vestro::bench {
namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct SideFigures {
    std::vector<double> seconds;
    std::uint64_t peakBytes = 0;
    std::uint64_t growthBytes = 0;
};

// Warm-up runs count for memory (a peak is a peak) but not for time.
SideFigures Collect(const Records& records, const std::string& platform, const std::string& dataSet,
                    const std::string& side) {
    SideFigures figures;
    for (const RunRecord& run : records.runs) {
        if (run.platform != platform || run.dataSet != dataSet || run.side != side) {
            continue;
        }
        if (!run.warmUp) {
            figures.seconds.push_back(run.seconds);
        }
        figures.peakBytes = std::max(figures.peakBytes, run.peakBytes);
        figures.growthBytes = std::max(figures.growthBytes, run.growthBytes);
    }
    return figures;
}

std::vector<std::string> PlatformsInOrder(const Records& records) {
    std::vector<std::string> platforms;
    for (const RunRecord& run : records.runs) {
        if (std::find(platforms.begin(), platforms.end(), run.platform) == platforms.end()) {
            platforms.push_back(run.platform);
        }
    }
    return platforms;
}

std::string Format(const char* pattern, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof(buffer), pattern, values...);
    return buffer;
}

void PrintPlatform(const Records& records, const std::string& platform, std::ostream& out) {
    out << "== " << platform << '\n';
    out << Format("%-9s %7s %11s %6s %9s %10s %10s %9s %9s %9s %11s\n", "data set", "files",
                  "bytes", "runs", "ours s", "baseline s", "ours/base", "MB/s", "files/s",
                  "peak MiB", "growth MiB");
    std::string closing;
    std::uint64_t peakBytes = 0;
    for (const DataSetRecord& dataSet : records.dataSets) {
        if (dataSet.platform != platform) {
            continue;
        }
        const SideFigures ours = Collect(records, platform, dataSet.name, "ours");
        const SideFigures baseline = Collect(records, platform, dataSet.name, "baseline");
        if (ours.seconds.empty() || baseline.seconds.empty()) {
            continue;
        }
        const double oursMedian = Median(ours.seconds);
        const double baselineMedian = Median(baseline.seconds);
        const double ratio = oursMedian / baselineMedian;
        const std::string runs =
            std::to_string(ours.seconds.size()) + "+" + std::to_string(baseline.seconds.size());
        out << Format("%-9s %7llu %11llu %6s %9.3f %10.3f %10.2f %9.1f %9.0f %9.1f %11.1f\n",
                      dataSet.name.c_str(), static_cast<unsigned long long>(dataSet.files),
                      static_cast<unsigned long long>(dataSet.bytes), runs.c_str(), oursMedian,
                      baselineMedian, ratio, dataSet.bytes / 1e6 / oursMedian,
                      dataSet.files / oursMedian, ours.peakBytes / kMebibyte,
                      ours.growthBytes / kMebibyte);
        closing += Format("ratio %s: %.2f  ", dataSet.name.c_str(), ratio);
        peakBytes = std::max(peakBytes, ours.peakBytes);
    }
    for (const NoteRecord& note : records.notes) {
        if (note.platform == platform) {
            out << "  " << note.text << '\n';
        }
    }
    out << closing << Format("peak rss MiB: %.1f", peakBytes / kMebibyte) << "\n\n";
}

}  // namespace

void PrintResultsTable(const Records& records, std::ostream& out) {
    for (const std::string& platform : PlatformsInOrder(records)) {
        PrintPlatform(records, platform, out);
    }
}

}  // namespace vestro::bench
