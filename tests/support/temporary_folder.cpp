#include "support/temporary_folder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "file_system/path_conversion.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace vestro::testing {
namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("vestro-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    // Read-only entries would stop remove_all on Windows.
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(path_, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_symlink()) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::remove_all(path_, error);
}

std::wstring TemporaryFolder::Text(std::wstring_view relative) const {
    return relative.empty() ? ToPathText(path_) : ToPathText(Child(relative));
}

fs::path TemporaryFolder::Child(std::wstring_view relative) const {
    // Tests write "a/b"; on Windows the program sees backslashes, as a user would type them.
    return (path_ / ToFileSystemPath(relative)).make_preferred();
}

void WriteFile(const fs::path& file, std::string_view content) {
    fs::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!stream) {
        throw std::runtime_error("cannot write test file " + file.string());
    }
}

TreeSnapshot SnapshotTree(const fs::path& root) {
    TreeSnapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string& content = snapshot[ToPathText(entry.path().lexically_relative(root))];
        std::ifstream stream(entry.is_directory() ? fs::path() : entry.path(), std::ios::binary);
        content = entry.is_directory() ? "<folder>"
                                       : std::string(std::istreambuf_iterator<char>(stream), {});
    }
    return snapshot;
}

void MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::shared_ptr<void> MakeUnreadableFile(const fs::path& path) {
#ifdef _WIN32
    WriteFile(path, "held open without sharing");
    return {CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            CloseHandle};
#else
    fs::create_symlink(path.parent_path() / "missing-target", path);
    return nullptr;
#endif
}

}  // namespace vestro::testing
