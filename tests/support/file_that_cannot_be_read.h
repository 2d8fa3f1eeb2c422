#pragma once

#include <filesystem>
#ifdef _WIN32
#include <windows.h>

#include <stdexcept>
#include <string>

#include "support/temporary_folder.h"
#endif

namespace vestro::testing {

// A file whose content cannot be read while this object lives. Natively it is a symbolic link to
// a missing file (the tests run as root, who can read anything else); on Windows a file held open
// without any sharing.
class FileThatCannotBeRead {
  public:
#ifdef _WIN32
    explicit FileThatCannotBeRead(const std::filesystem::path& path) {
        WriteFile(path, "held open without sharing");
        handle_ = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw std::runtime_error("cannot hold the file open: error " +
                                     std::to_string(GetLastError()));
        }
    }
    ~FileThatCannotBeRead() {
        CloseHandle(handle_);
    }
#else
    explicit FileThatCannotBeRead(const std::filesystem::path& path) {
        std::filesystem::create_symlink(path.parent_path() / "missing-target", path);
    }
#endif
    FileThatCannotBeRead(const FileThatCannotBeRead&) = delete;
    FileThatCannotBeRead& operator=(const FileThatCannotBeRead&) = delete;
#ifdef _WIN32

  private:
    HANDLE handle_ = nullptr;
#endif
};

}  // namespace vestro::testing
