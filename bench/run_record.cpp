#include "run_record.h"

#include <fstream>
#include <sstream>

namespace vestro::bench {

std::string FormatRecord(const RunRecord& run) {
    std::ostringstream line;
    line.precision(9);
    line << "run " << run.platform << ' ' << run.dataSet << ' ' << run.side << ' '
         << (run.warmUp ? "warmup" : "timed") << ' ' << run.seconds << ' ' << run.peakBytes << ' '
         << run.growthBytes << ' ' << run.successSeconds << ' ';
    if (run.writtenBytes) {
        line << *run.writtenBytes;
    } else {
        line << '-';
    }
    return line.str();
}

std::string FormatRecord(const DataSetRecord& dataSet) {
    return "dataset " + dataSet.platform + ' ' + dataSet.name + ' ' +
           std::to_string(dataSet.files) + ' ' + std::to_string(dataSet.bytes);
}

void AppendRecord(const std::filesystem::path& recordsFile, const std::string& line) {
    std::ofstream out;
    out.exceptions(std::ios::failbit | std::ios::badbit);
    out.open(recordsFile, std::ios::app);
    out << line << '\n';
}

Records ReadRecords(const std::filesystem::path& recordsFile) {
    Records records;
    std::ifstream in(recordsFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "run") {
            RunRecord run;
            std::string phase;
            if (fields >> run.platform >> run.dataSet >> run.side >> phase >> run.seconds >>
                run.peakBytes >> run.growthBytes) {
                run.warmUp = phase == "warmup";
                // Records written before the time to success was kept: the whole time.
                if (!(fields >> run.successSeconds)) {
                    run.successSeconds = run.seconds;
                }
                // "-" where the system did not count them, and nothing in older records.
                if (std::uint64_t written = 0; fields >> written) {
                    run.writtenBytes = written;
                }
                records.runs.push_back(run);
            }
        } else if (kind == "dataset") {
            DataSetRecord dataSet;
            if (fields >> dataSet.platform >> dataSet.name >> dataSet.files >> dataSet.bytes) {
                records.dataSets.push_back(dataSet);
            }
        } else if (kind == "note") {
            NoteRecord note;
            if (fields >> note.platform) {
                std::getline(fields >> std::ws, note.text);
                records.notes.push_back(note);
            }
        }
    }
    return records;
}

}  // namespace vestro::bench
