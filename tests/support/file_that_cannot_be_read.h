#pragma once

#include <filesystem>

namespace vestro::testing {

// A file whose content cannot be read while this object lives. Natively it is a symbolic link to
// a missing file (the tests run as root, who can read anything else); on Windows a file held open
// without any sharing.
class FileThatCannotBeRead {
  public:
    explicit FileThatCannotBeRead(const std::filesystem::path& path);
    FileThatCannotBeRead(const FileThatCannotBeRead&) = delete;
    FileThatCannotBeRead& operator=(const FileThatCannotBeRead&) = delete;
    ~FileThatCannotBeRead();

  private:
    void* handle_ = nullptr;
};

}  // namespace vestro::testing
