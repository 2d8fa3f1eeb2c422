#pragma once

#include <filesystem>

namespace vestro::testing {

// Makes a file at path that exists in its folder but cannot be read while this object lives,
// even by root: on Windows a file held open without read sharing, elsewhere a link to nothing.
class UnreadableFile {
  public:
    explicit UnreadableFile(const std::filesystem::path& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

  private:
    void* handle_ = nullptr;
};

}  // namespace vestro::testing
