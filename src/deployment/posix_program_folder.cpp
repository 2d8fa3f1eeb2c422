#include <filesystem>
#include <system_error>

#include "deployment/program_folder.h"

namespace vestro {

std::wstring ProgramFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    // Not the current folder instead: Data must come from beside the program or not at all.
    if (error) {
        return {};
    }
    return executable.parent_path().wstring();
}

}  // namespace vestro
