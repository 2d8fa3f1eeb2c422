#include "bare_copy_loop.h"

#include <system_error>

namespace vestro::bench {

std::string PrepareBareCopy(const std::filesystem::path& source,
                            const std::filesystem::path& destination, BareCopyJob& job) {
    std::error_code error;
    if (std::filesystem::exists(destination, error) ||
        !std::filesystem::create_directory(destination, error)) {
        return "cannot make the empty folder " + destination.string() + ": " + error.message();
    }
    for (auto entry = std::filesystem::recursive_directory_iterator(source, error);
         !error && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(error)) {
        const std::filesystem::path copy =
            destination / std::filesystem::relative(entry->path(), source, error);
        if (entry->is_directory(error)) {
            std::filesystem::create_directory(copy, error);
        } else {
            job.files.emplace_back(entry->path(), copy);
        }
    }
    return error ? "cannot list " + source.string() + ": " + error.message() : std::string();
}

std::string CopyEachFile(const BareCopyJob& job) {
    for (const auto& [source, destination] : job.files) {
        if (std::string failure = CopySingleFile(source, destination); !failure.empty()) {
            return failure;
        }
    }
    return {};
}

}  // namespace vestro::bench
