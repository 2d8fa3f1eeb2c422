#include "data_set_generation.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "pseudo_random.h"

namespace vestro::bench {
namespace {

constexpr std::uint64_t kKibibyte = 1024;
constexpr std::uint64_t kMebibyte = 1024 * kKibibyte;

void WritePseudoRandomFile(const std::filesystem::path& file, std::uint64_t size,
                           std::uint64_t seed) {
    PseudoRandom random(seed);
    std::vector<char> chunk(static_cast<std::size_t>(std::min(size, kMebibyte)));
    std::ofstream out;
    out.exceptions(std::ios::failbit | std::ios::badbit);
    out.open(file, std::ios::binary | std::ios::trunc);
    for (std::uint64_t written = 0; written < size;) {
        const std::size_t length =
            static_cast<std::size_t>(std::min<std::uint64_t>(size - written, chunk.size()));
        for (std::size_t offset = 0; offset < length; offset += sizeof(std::uint64_t)) {
            const std::uint64_t value = random.Next();
            std::memcpy(chunk.data() + offset, &value, std::min(sizeof(value), length - offset));
        }
        out.write(chunk.data(), static_cast<std::streamsize>(length));
        written += length;
    }
}

// Folder number f lies at set<f/100>/group<f/10%10>/part<f%10>: 400 folders for 20,000 files.
void GenerateManySmall(std::uint64_t files, const std::filesystem::path& dataFolder) {
    constexpr std::uint64_t kFilesPerFolder = 50;
    PseudoRandom sizes(files);
    std::filesystem::path folder;
    for (std::uint64_t file = 0; file < files; ++file) {
        if (file % kFilesPerFolder == 0) {
            const std::uint64_t number = file / kFilesPerFolder;
            folder = dataFolder / ("set" + std::to_string(number / 100)) /
                     ("group" + std::to_string(number / 10 % 10)) /
                     ("part" + std::to_string(number % 10));
            std::filesystem::create_directories(folder);
        }
        WritePseudoRandomFile(folder / ("item" + std::to_string(file % kFilesPerFolder) + ".dat"),
                              sizes.Between(1 * kKibibyte, 16 * kKibibyte), file);
    }
}

// Ten files to a folder, the folders five levels deep with six to a level: folder number f lies
// at d<f/1296>/d<f/216%6>/d<f/36%6>/d<f/6%6>/d<f%6> (50,000 files make 5,000 folders).
void GenerateDeep(std::uint64_t files, const std::filesystem::path& dataFolder) {
    constexpr std::uint64_t kFilesPerFolder = 10;
    PseudoRandom sizes(files + 7);
    std::filesystem::path folder;
    for (std::uint64_t file = 0; file < files; ++file) {
        if (file % kFilesPerFolder == 0) {
            folder = dataFolder;
            for (std::uint64_t number = file / kFilesPerFolder, level = 1296; level > 0;
                 level /= 6) {
                std::string name = "d";  // appended, not "d" + ...: GCC 12 warns falsely on that
                name += std::to_string(number / level % 6);
                folder /= name;
            }
            std::filesystem::create_directories(folder);
        }
        WritePseudoRandomFile(folder / ("leaf" + std::to_string(file % kFilesPerFolder) + ".txt"),
                              sizes.Between(0, 4 * kKibibyte), file);
    }
}

void GenerateFewLarge(std::uint64_t files, const std::filesystem::path& dataFolder) {
    std::filesystem::create_directories(dataFolder);
    for (std::uint64_t file = 0; file < files; ++file) {
        WritePseudoRandomFile(dataFolder / ("archive" + std::to_string(file) + ".pak"),
                              64 * kMebibyte, 1000 + file);
    }
}

// As an earlier deployment left it: the copy's times equal the originals', so that it is reused.
void CopyKeepingTimes(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(from)) {
        if (entry.is_regular_file()) {
            std::filesystem::last_write_time(to / entry.path().lexically_relative(from),
                                             std::filesystem::last_write_time(entry.path()));
        }
    }
}

void RewriteEveryHundredthFile(const std::filesystem::path& dataFolder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dataFolder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    PseudoRandom sizes(files.size() + 13);
    for (std::size_t index = 0; index < files.size(); index += 100) {
        const std::filesystem::path& file = files[index];
        const auto before = std::filesystem::last_write_time(file);
        const std::uint64_t oldSize = std::filesystem::file_size(file);
        std::uint64_t size = sizes.Between(1 * kKibibyte, 16 * kKibibyte);
        size += size == oldSize ? 1 : 0;
        // Seeds no file of the set was first written with.
        WritePseudoRandomFile(file, size, (std::uint64_t{1} << 32) + index);
        // A clock coarser than the time since the copy would leave the old time.
        std::filesystem::last_write_time(file, std::max(std::filesystem::last_write_time(file),
                                                        before + std::chrono::seconds(2)));
    }
}

}  // namespace

void GenerateRedeploySet(std::uint64_t files, const std::filesystem::path& dataFolder,
                         const std::filesystem::path& oldFolder) {
    GenerateManySmall(files, dataFolder);
    CopyKeepingTimes(dataFolder, oldFolder);
    RewriteEveryHundredthFile(dataFolder);
}

bool GenerateDataSet(const std::string& name, std::uint64_t files,
                     const std::filesystem::path& dataFolder) {
    if (name == "small") {
        GenerateManySmall(files, dataFolder);
        return true;
    }
    if (name == "deep") {
        GenerateDeep(files, dataFolder);
        return true;
    }
    if (name == "large") {
        GenerateFewLarge(files, dataFolder);
        return true;
    }
    return false;
}

}  // namespace vestro::bench
