#include "benchmark_commands.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

#include "data_set_generation.h"
#include "file_system/path_conversion.h"
#include "results_table.h"
#include "run_record.h"
#include "timed_runs.h"
#include "tree_comparison.h"
#include "utf8_text.h"

namespace vestro::bench {
namespace {

constexpr const char* kUsage =
    "usage: vestro_benchmark generate <platform> <small|deep|large> <files> <data folder> "
    "<records file>\n"
    "       vestro_benchmark generate <platform> redeploy <files> <data folder> <records file> "
    "<old data folder>\n"
    "       vestro_benchmark <side> <platform> <data set> <timed|warmup> <source> <target> "
    "<records file>\n"
    "         side: ours, ours@<tree workers>, ours@<copy workers>:<delete workers>, or a baseline "
    "(natively rm-cp, cp-order, "
    "cp-parallel, rsync-staged, rsync-checksum; on Windows xcopy, robocopy), ours-full (ours "
    "without reuse) or floor\n"
    "       vestro_benchmark verify <original> <copy> [contents]\n"
    "       vestro_benchmark report <records file>\n";

int Generate(const std::vector<std::wstring>& arguments) {
    const std::string platform = Utf8(arguments[1]);
    const std::string name = Utf8(arguments[2]);
    const std::uint64_t files = std::stoull(arguments[3]);
    const std::filesystem::path dataFolder = ToFileSystemPath(arguments[4]);
    if (name == "redeploy") {
        if (arguments.size() != 7) {
            std::cerr << "the redeploy set needs a folder for its old data\n";
            return 2;
        }
        GenerateRedeploySet(files, dataFolder, ToFileSystemPath(arguments[6]));
    } else if (arguments.size() != 6 || !GenerateDataSet(name, files, dataFolder)) {
        std::cerr << "unknown data set: " << name << '\n';
        return 2;
    }
    const TreeComparison summary = CompareTrees(dataFolder, dataFolder, false);
    AppendRecord(ToFileSystemPath(arguments[5]),
                 FormatRecord(DataSetRecord{platform, name, summary.files, summary.bytes}));
    return 0;
}

int Time(const std::vector<std::wstring>& arguments) {
    const RunSettings settings{Utf8(arguments[0]),
                               Utf8(arguments[1]),
                               Utf8(arguments[2]),
                               arguments[3] == L"warmup",
                               arguments[4],
                               arguments[5],
                               ToFileSystemPath(arguments[6])};
    const std::string failure = TimeSide(settings);
    if (!failure.empty()) {
        std::cerr << Utf8(arguments[0]) << " failed: " << failure << '\n';
        return 1;
    }
    return 0;
}

int Verify(const std::vector<std::wstring>& arguments) {
    const bool contents = arguments.size() > 3 && arguments[3] == L"contents";
    const TreeComparison comparison =
        CompareTrees(ToFileSystemPath(arguments[1]), ToFileSystemPath(arguments[2]), contents);
    if (!comparison.difference.empty()) {
        std::cerr << "copy differs from " << Utf8(arguments[1]) << ": " << comparison.difference
                  << '\n';
        return 1;
    }
    return 0;
}

int Report(const std::vector<std::wstring>& arguments) {
    PrintResultsTable(ReadRecords(ToFileSystemPath(arguments[1])), std::cout);
    return 0;
}

}  // namespace

int RunCommand(const std::vector<std::wstring>& arguments) {
    const std::wstring command = arguments.empty() ? L"" : arguments[0];
    try {
        if (command == L"generate" && (arguments.size() == 6 || arguments.size() == 7)) {
            return Generate(arguments);
        }
        if (IsSideName(Utf8(command)) && arguments.size() == 7) {
            return Time(arguments);
        }
        if (command == L"verify" && (arguments.size() == 3 || arguments.size() == 4)) {
            return Verify(arguments);
        }
        if (command == L"report" && arguments.size() == 2) {
            return Report(arguments);
        }
    } catch (const std::exception& error) {
        std::cerr << Utf8(command) << " failed: " << error.what() << '\n';
        return 1;
    }
    std::cerr << kUsage;
    return 2;
}

}  // namespace vestro::bench
