#include <new>
#include <system_error>

#include "file_system/file_system.h"
#include "file_system/path_conversion.h"
#include "posix_exclusive_lock.h"
#include "posix_failure.h"
#include "posix_item_path.h"
#include "posix_resolved_path.h"
#include "posix_tree_copy.h"
#include "posix_tree_delete.h"
#include "posix_tree_measure.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

// Strings are the only things that allocate; running out of memory must not throw past the
// interface. The description itself may not fit any more.
Status OutOfMemory() noexcept {
    Status status;
    status.error = std::make_error_code(std::errc::not_enough_memory);
    try {
        status.description = L"Not enough memory.";
    } catch (const std::bad_alloc&) {
    }
    return status;
}

// The system would read text with a zero character in it only up to that character, and so
// answer for another path.
bool HasZeroCharacter(const std::wstring& path) {
    return path.find(L'\0') != std::wstring::npos;
}

ExistsResult ProbeType(const std::wstring& path, bool folder) {
    try {
        if (HasZeroCharacter(path)) {
            return {};
        }
        std::error_code error;
        const fs::file_status status = fs::status(ToFileSystemPath(path), error);
        if (error || !fs::exists(status)) {
            return {};
        }
        return {fs::is_directory(status) == folder, Status::Success()};
    } catch (const std::bad_alloc&) {
        return {false, OutOfMemory()};
    }
}

class PosixFileSystem final : public FileSystem {
  public:
    explicit PosixFileSystem(TreeWorkers treeWorkers) : treeWorkers_(treeWorkers) {}

    ExistsResult FileExists(const std::wstring& path) override { return ProbeType(path, false); }

    ExistsResult FolderExists(const std::wstring& path) override { return ProbeType(path, true); }

    Status DeleteFolder(const std::wstring& path, bool force, StepHoldBound*) override {
        try {
            if (HasZeroCharacter(path)) {
                return PosixFailure(std::make_error_code(std::errc::invalid_argument),
                                    CouldNot(L"delete the folder", path));
            }
            return DeleteTree({ToFileSystemPath(path), path}, force, treeWorkers_.removal);
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override {
        try {
            if (HasZeroCharacter(source) || HasZeroCharacter(destination)) {
                return PosixFailure(
                    std::make_error_code(std::errc::invalid_argument),
                    CouldNot(L"copy the folder", source) + L" to \"" + destination + L"\"");
            }
            return CopyTree({ToFileSystemPath(source), source},
                            {ToFileSystemPath(destination), destination}, overwrite, progress,
                            treeWorkers_.copy);
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    FolderSize MeasureFolder(const std::wstring& path) override {
        try {
            if (HasZeroCharacter(path)) {
                return {0, 0,
                        PosixFailure(std::make_error_code(std::errc::invalid_argument),
                                     CouldNot(L"read the folder", path))};
            }
            return MeasureTree({ToFileSystemPath(path), path}, treeWorkers_.copy);
        } catch (const std::bad_alloc&) {
            return {0, 0, OutOfMemory()};
        }
    }

    Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                      StepHoldBound*) override {
        try {
            const std::wstring action =
                CouldNot(L"move the folder", source) + L" to \"" + destination + L"\"";
            if (HasZeroCharacter(source) || HasZeroCharacter(destination)) {
                return PosixFailure(std::make_error_code(std::errc::invalid_argument), action);
            }
            const fs::path from = ToFileSystemPath(source);
            const fs::path to = ToFileSystemPath(destination);
            std::error_code error;
            // A link is moved as itself, whatever it leads to.
            const fs::file_status sourceStatus = fs::symlink_status(from, error);
            if (!error && !fs::is_symlink(sourceStatus) && !fs::is_directory(sourceStatus)) {
                error = std::make_error_code(std::errc::not_a_directory);
            }
            if (!error) {
                // rename() would replace an empty folder; a move never replaces anything.
                std::error_code probeError;
                if (fs::exists(fs::symlink_status(to, probeError))) {
                    error = std::make_error_code(std::errc::file_exists);
                } else {
                    fs::rename(from, to, error);
                }
            }
            return error ? PosixFailure(error, action) : Status::Success();
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    ResolvedPath ResolvePath(const std::wstring& path) override {
        try {
            if (HasZeroCharacter(path)) {
                return {{},
                        PosixFailure(std::make_error_code(std::errc::invalid_argument),
                                     CouldNot(L"resolve the path", path))};
            }
            return ResolveItemPath({ToFileSystemPath(path), path});
        } catch (const std::bad_alloc&) {
            return {{}, OutOfMemory()};
        }
    }

    FolderNames ListNames(const std::wstring& folder) override {
        try {
            FolderNames listed;
            std::error_code error = HasZeroCharacter(folder)
                                        ? std::make_error_code(std::errc::invalid_argument)
                                        : std::error_code();
            fs::directory_iterator listing;
            if (!error) {
                listing = fs::directory_iterator(ToFileSystemPath(folder), error);
            }
            for (; !error && listing != fs::directory_iterator(); listing.increment(error)) {
                listed.names.push_back(ToPathText(listing->path().filename()));
            }
            if (error) {
                listed.status = PosixFailure(error, CouldNot(L"read the folder", folder));
            }
            return listed;
        } catch (const std::bad_alloc&) {
            return {{}, OutOfMemory()};
        }
    }

    // A symbolic link is renamed and removed as itself here.
    LinkProbe ProbeLink(const std::wstring& path) override {
        try {
            if (HasZeroCharacter(path)) {
                return {};
            }
            std::error_code error;
            const fs::path entry = ToFileSystemPath(path);
            const bool link = fs::is_symlink(fs::symlink_status(entry, error));
            return {link ? LinkKind::Link : LinkKind::None, Status::Success()};
        } catch (const std::bad_alloc&) {
            return {LinkKind::None, OutOfMemory()};
        }
    }

    LockAcquisition LockExclusively(const std::wstring& path) override {
        try {
            if (HasZeroCharacter(path)) {
                return {nullptr, false,
                        PosixFailure(std::make_error_code(std::errc::invalid_argument),
                                     CouldNot(L"lock the file", path))};
            }
            return LockFileExclusively({ToFileSystemPath(path), path});
        } catch (const std::bad_alloc&) {
            return {nullptr, false, OutOfMemory()};
        }
    }

  private:
    const TreeWorkers treeWorkers_;
};

}  // namespace

FileSystemCreation CreateFileSystem() {
    return CreateFileSystemWithTreeWorkers({});
}

// Nothing here meets another program's hold: POSIX renames and removes whatever is open.
FileSystemCreation CreateFileSystemWithHoldWait(HoldWait) {
    return CreateFileSystem();
}

FileSystemCreation CreateFileSystemWithTreeWorkers(TreeWorkers treeWorkers) {
    try {
        return {std::make_unique<PosixFileSystem>(treeWorkers), Status::Success()};
    } catch (const std::bad_alloc&) {
        return {nullptr, OutOfMemory()};
    }
}

}  // namespace vestro
