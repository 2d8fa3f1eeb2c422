#include <system_error>

#include "bare_copy_loop.h"

namespace vestro::bench {

std::string CopySingleFile(const std::filesystem::path& source,
                           const std::filesystem::path& destination) {
    std::error_code error;
    if (!std::filesystem::copy_file(source, destination, error)) {
        return "copy_file failed: " + error.message();
    }
    return {};
}

}  // namespace vestro::bench
