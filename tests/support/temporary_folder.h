#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace vestro::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a name inside, as the text the program works with.
    std::wstring Text(std::wstring_view relative = {}) const;
    std::filesystem::path Child(std::wstring_view relative) const;

  private:
    std::filesystem::path path_;
};

// Writes a file, creating the folders on the way.
void WriteFile(const std::filesystem::path& file, std::string_view content);
inline void MakeFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
}

// Every file and folder below root, by relative path: the file's bytes, or "<folder>".
using TreeSnapshot = std::map<std::wstring, std::string>;
TreeSnapshot SnapshotTree(const std::filesystem::path& root);

void MakeReadOnly(const std::filesystem::path& path);

// A file whose content cannot be read while the holder lives. Natively a link to a missing file
// (the tests run as root, who can read anything else); on Windows a file held without sharing.
std::shared_ptr<void> MakeUnreadableFile(const std::filesystem::path& path);

}  // namespace vestro::testing
