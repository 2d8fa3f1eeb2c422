#include "results_table.h"

#include <algorithm>
#include <cstdio>
#include <map>
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
    std::vector<double> successSeconds;
    std::vector<double> writtenBytes;  // of the timed runs the system counted them for
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
            figures.successSeconds.push_back(run.successSeconds);
            if (run.writtenBytes) {
                figures.writtenBytes.push_back(static_cast<double>(*run.writtenBytes));
            }
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

// The sides timed on one data set, in the order first recorded.
std::vector<std::string> SidesOf(const Records& records, const std::string& platform,
                                 const std::string& dataSet) {
    std::vector<std::string> sides;
    for (const RunRecord& run : records.runs) {
        if (run.platform == platform && run.dataSet == dataSet &&
            std::find(sides.begin(), sides.end(), run.side) == sides.end()) {
            sides.push_back(run.side);
        }
    }
    return sides;
}

bool IsOurs(const std::string& side) {
    return side == "ours" || side.starts_with("ours@");
}

// Ours with reuse turned off: our own full replacement, neither ours nor a baseline.
constexpr const char* kOursWithoutReuse = "ours-full";

std::string Format(const char* pattern, auto... values) {
    char buffer[256];
    std::snprintf(buffer, sizeof(buffer), pattern, values...);
    return buffer;
}

constexpr double kMegabyte = 1e6;

// The median of the bytes written, in MB; "-" where the system did not count them.
std::string WrittenMegabytes(const SideFigures& figures) {
    return figures.writtenBytes.empty() ? "-"
                                        : Format("%.1f", Median(figures.writtenBytes) / kMegabyte);
}

// What the closing lines quote, per platform and data set.
struct Summary {
    std::map<std::string, double> ratios;
    // Ours against one baseline, by "<platform> <data set> <baseline>".
    std::map<std::string, double> baselineRatios;
    std::map<std::string, double> fullReplacementRatios;
    std::map<std::string, double> writtenShares;
    std::map<std::string, double> successRatios;
    std::map<std::string, double> floorRatios;
    std::map<std::string, std::uint64_t> peakBytes;
};

// The fastest of the baselines by one of their medians.
struct Fastest {
    std::string side;
    double seconds = 0;
    void Offer(const std::string& candidate, double median) {
        if (side.empty() || median < seconds) {
            side = candidate;
            seconds = median;
        }
    }
};

void PrintPlatform(const Records& records, const std::string& platform, std::ostream& out,
                   Summary& summary) {
    out << "== " << platform << '\n';
    out << Format("%-8s %6s %10s %5s %7s %-14s %7s %6s %7s %-14s %7s %6s %7s %7s %6s %6s %7s\n",
                  "set", "files", "bytes", "runs", "ours s", "fastest", "base s", "ratio", "ok s",
                  "fastest ok", "base ok", "ratio", "MB/s", "files/s", "peak", "growth", "wr MB");
    std::string baselineLines;
    std::string poolLines;
    for (const DataSetRecord& dataSet : records.dataSets) {
        if (dataSet.platform != platform) {
            continue;
        }
        const SideFigures ours = Collect(records, platform, dataSet.name, "ours");
        const double oursMedian = Median(ours.seconds);
        const std::string key = platform + " " + dataSet.name;
        Fastest fastest;
        Fastest fastestToSuccess;
        std::string baselines;
        std::string pools;
        std::string floor;
        std::string fullReplacementLine;
        double floorMedian = 0;
        for (const std::string& side : SidesOf(records, platform, dataSet.name)) {
            const SideFigures figures = Collect(records, platform, dataSet.name, side);
            if (figures.seconds.empty() || side == "ours") {
                continue;
            }
            const double median = Median(figures.seconds);
            const double toSuccess = Median(figures.successSeconds);
            const std::string written = WrittenMegabytes(figures);
            if (IsOurs(side)) {
                pools += Format("  %s %.3f / %.3f s %s MB", side.substr(5).c_str(), toSuccess,
                                median, written.c_str());
                continue;
            }
            if (side == "floor") {
                floorMedian = median;
                floor = written;
                continue;
            }
            if (side == kOursWithoutReuse) {
                fullReplacementLine = Format(
                    "  %s ours with reuse turned off (medians, new data in place / whole): %.3f / "
                    "%.3f s %s MB",
                    dataSet.name.c_str(), toSuccess, median, written.c_str());
                if (!ours.seconds.empty()) {
                    fullReplacementLine += Format("; ours against it: %.2f", oursMedian / median);
                    summary.fullReplacementRatios[key] = oursMedian / median;
                }
                fullReplacementLine += '\n';
                continue;
            }
            baselines += Format("  %s %.3f / %.3f s %s MB", side.c_str(), toSuccess, median,
                                written.c_str());
            if (!ours.seconds.empty()) {
                summary.baselineRatios[key + " " + side] = oursMedian / median;
            }
            fastest.Offer(side, median);
            fastestToSuccess.Offer(side, toSuccess);
        }
        if (!baselines.empty()) {
            baselineLines +=
                "  " + dataSet.name +
                " baselines (medians, new data in place / whole, written):" + baselines + '\n';
        }
        baselineLines += fullReplacementLine;
        if (!pools.empty()) {
            poolLines += "  " + dataSet.name +
                         " ours by tree workers (new data in place / whole, written):" + pools +
                         '\n';
        }
        if (ours.seconds.empty()) {
            continue;
        }
        const double oursToSuccess = Median(ours.successSeconds);
        const double ratio = fastest.side.empty() ? 0 : oursMedian / fastest.seconds;
        const double successRatio =
            fastestToSuccess.side.empty() ? 0 : oursToSuccess / fastestToSuccess.seconds;
        out << Format(
            "%-8s %6llu %10llu %5zu %7.3f %-14s %7.3f %6.2f %7.3f %-14s %7.3f %6.2f %7.1f %7.0f "
            "%6.1f %6.1f %7s\n",
            dataSet.name.c_str(), static_cast<unsigned long long>(dataSet.files),
            static_cast<unsigned long long>(dataSet.bytes), ours.seconds.size(), oursMedian,
            fastest.side.empty() ? "-" : fastest.side.c_str(), fastest.seconds, ratio,
            oursToSuccess, fastestToSuccess.side.empty() ? "-" : fastestToSuccess.side.c_str(),
            fastestToSuccess.seconds, successRatio, dataSet.bytes / 1e6 / oursMedian,
            dataSet.files / oursMedian, ours.peakBytes / kMebibyte, ours.growthBytes / kMebibyte,
            WrittenMegabytes(ours).c_str());
        if (!ours.writtenBytes.empty() && dataSet.bytes > 0) {
            summary.writtenShares[key] = Median(ours.writtenBytes) / dataSet.bytes;
        }
        if (floorMedian > 0) {
            baselineLines += Format(
                "  %s floor (bare loop of CopyFileExW into an empty folder, median): %.3f s %s MB; "
                "ours to success against it: %.2f\n",
                dataSet.name.c_str(), floorMedian, floor.c_str(), oursToSuccess / floorMedian);
            summary.floorRatios[platform + " " + dataSet.name] = oursToSuccess / floorMedian;
        }
        if (!fastest.side.empty()) {
            summary.ratios[platform + " " + dataSet.name] = ratio;
            summary.successRatios[platform + " " + dataSet.name] = successRatio;
        }
        summary.peakBytes[platform] = std::max(summary.peakBytes[platform], ours.peakBytes);
    }
    out << baselineLines << poolLines;
    for (const NoteRecord& note : records.notes) {
        if (note.platform == platform) {
            out << "  " << note.text << '\n';
        }
    }
    out << '\n';
}

std::string Ratio(const std::map<std::string, double>& ratios, const std::string& key) {
    const auto found = ratios.find(key);
    return found == ratios.end() ? "n/a" : Format("%.2f", found->second);
}

}  // namespace

void PrintResultsTable(const Records& records, std::ostream& out) {
    Summary summary;
    for (const std::string& platform : PlatformsInOrder(records)) {
        PrintPlatform(records, platform, out, summary);
    }
    // Ours against the fastest baseline of each data set, for scripts to read.
    const auto peak = summary.peakBytes.find("native");
    out << "ratio small: " << Ratio(summary.ratios, "native small")
        << "  ratio large: " << Ratio(summary.ratios, "native large") << "  peak rss MiB: "
        << (peak == summary.peakBytes.end() ? "n/a" : Format("%.1f", peak->second / kMebibyte))
        << '\n';
    out << "ratio deep: " << Ratio(summary.ratios, "native deep")
        << "  wine ratio small: " << Ratio(summary.ratios, "wine small") << '\n';
    // Ours until the new data is in place against the fastest baseline to that point.
    out << "ratio to success small: " << Ratio(summary.successRatios, "native small")
        << "  deep: " << Ratio(summary.successRatios, "native deep") << '\n';
    out << "wine floor ratio: " << Ratio(summary.floorRatios, "wine small")
        << "  redeploy: " << Ratio(summary.floorRatios, "wine redeploy") << '\n';
    // The redeploy set: ours against the exact peer and the one that trusts sizes and times.
    out << "redeploy ratio: " << Ratio(summary.baselineRatios, "native redeploy rsync-checksum")
        << " (checksum peer)  " << Ratio(summary.baselineRatios, "native redeploy rsync-staged")
        << " (staged peer)\n";
    const auto share = summary.writtenShares.find("native redeploy");
    out << "redeploy written: "
        << (share == summary.writtenShares.end() ? "n/a" : Format("%.1f%%", share->second * 100))
        << " of Data's bytes  against ours-full: "
        << Ratio(summary.fullReplacementRatios, "native redeploy") << '\n';
}

}  // namespace vestro::bench
