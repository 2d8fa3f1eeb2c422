#include "deployment/unreadable_file.h"

#include <stdexcept>

#include "support/temporary_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vestro::testing {

#ifdef _WIN32

UnreadableFile::UnreadableFile(const std::filesystem::path& path) {
    WriteFile(path, "locked");
    handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot hold the test file open");
    }
}

UnreadableFile::~UnreadableFile() {
    CloseHandle(handle_);
}

#else

UnreadableFile::UnreadableFile(const std::filesystem::path& path) {
    std::filesystem::create_symlink(path.parent_path() / "no-such-file", path);
}

UnreadableFile::~UnreadableFile() = default;

#endif

}  // namespace vestro::testing
