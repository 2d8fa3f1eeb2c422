#pragma once

#include <filesystem>
#include <stdexcept>
#ifdef _WIN32
#include "file_system/win32_owned_handle.h"
#include "support/temporary_folder.h"
#endif

namespace vestro::testing {

// A file whose content cannot be read while this object lives. Natively it is a symbolic link to
// a missing file (the tests run as root, who can read anything else); on Windows a file held open
// without any sharing.
class FileThatCannotBeRead {
  public:
    explicit FileThatCannotBeRead(const std::filesystem::path& path) {
#ifdef _WIN32
        WriteFile(path, "held open without sharing");
        held_.Reset(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!held_) {
            throw std::runtime_error("cannot hold the file open: error " +
                                     std::to_string(GetLastError()));
        }
#else
        std::filesystem::create_symlink(path.parent_path() / "missing-target", path);
#endif
    }

#ifdef _WIN32
  private:
    OwnedHandle held_;
#endif
};

}  // namespace vestro::testing
