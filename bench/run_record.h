#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vestro::bench {

// One line of the records file per timed replacement, per data set and per note, so that runs
// made by different builds (native, and Windows under Wine) end up in one table.
struct RunRecord {
    std::string platform;
    std::string dataSet;
    std::string side;  // "ours", "ours@<workers>", "ours-full", a baseline's name, or "floor"
    bool warmUp = false;
    double seconds = 0;                         // the whole run, old data removed
    double successSeconds = 0;                  // until the new data was in place
    std::uint64_t peakBytes = 0;                // the process's peak resident memory after the run
    std::uint64_t growthBytes = 0;              // how much the run raised that peak
    std::optional<std::uint64_t> writtenBytes;  // sent towards storage, where the system counts it
};

struct DataSetRecord {
    std::string platform;
    std::string name;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

struct NoteRecord {
    std::string platform;
    std::string text;
};

struct Records {
    std::vector<RunRecord> runs;
    std::vector<DataSetRecord> dataSets;
    std::vector<NoteRecord> notes;
};

std::string FormatRecord(const RunRecord& run);
std::string FormatRecord(const DataSetRecord& dataSet);

// Throws std::ios_base::failure when the file cannot be written.
void AppendRecord(const std::filesystem::path& recordsFile, const std::string& line);
// Lines it does not understand are skipped.
Records ReadRecords(const std::filesystem::path& recordsFile);

}  // namespace vestro::bench
