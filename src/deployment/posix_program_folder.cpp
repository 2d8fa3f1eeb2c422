#include <filesystem>
#include <system_error>

#include "deployment/program_folder.h"

namespace vestro {

std::wstring ProgramFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error).wstring();
    }
    return executable.parent_path().wstring();
}

}  // namespace vestro
