#include <windows.h>

#include "bare_copy_loop.h"

namespace vestro::bench {

std::string CopySingleFile(const std::filesystem::path& source,
                           const std::filesystem::path& destination) {
    if (!CopyFileExW(source.c_str(), destination.c_str(), nullptr, nullptr, nullptr, 0)) {
        return "CopyFileExW failed with error " + std::to_string(GetLastError());
    }
    return {};
}

}  // namespace vestro::bench
