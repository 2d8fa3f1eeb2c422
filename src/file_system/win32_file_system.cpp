#include <windows.h>

#include <new>
#include <system_error>

#include "file_system/file_system.h"
#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "win32_exclusive_lock.h"
#include "win32_folder_listing.h"
#include "win32_held_item_failure.h"
#include "win32_hold_errors.h"
#include "win32_item_path.h"
#include "win32_link_probe.h"
#include "win32_resolved_path.h"
#include "win32_tree_copy.h"
#include "win32_tree_delete.h"

namespace vestro {
namespace {

// Strings are the only things that allocate; running out of memory must not throw past the
// interface. The description itself may not fit any more.
Status OutOfMemory() noexcept {
    Status status;
    status.error = std::error_code(ERROR_NOT_ENOUGH_MEMORY, std::system_category());
    try {
        status.description = Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::bad_alloc&) {
    }
    return status;
}

ExistsResult ProbeAttributes(const std::wstring& path, bool folder) {
    try {
        const ExtendedPath extended = ToExtendedPath(path);
        if (extended.error != ERROR_SUCCESS) {
            return {};
        }
        const DWORD attributes = GetFileAttributesW(extended.text.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return {};
        }
        const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return {isFolder == folder && (isFolder || !extended.namesFolder), Status::Success()};
    } catch (const std::bad_alloc&) {
        return {false, OutOfMemory()};
    }
}

class Win32FileSystem final : public FileSystem {
  public:
    Win32FileSystem(TreeWorkers treeWorkers, HoldWait holdWait)
        : treeWorkers_(treeWorkers), holdWait_(std::move(holdWait)) {}

    ExistsResult FileExists(const std::wstring& path) override {
        return ProbeAttributes(path, false);
    }

    ExistsResult FolderExists(const std::wstring& path) override {
        return ProbeAttributes(path, true);
    }

    Status DeleteFolder(const std::wstring& path, bool force, StepHoldBound* step) override {
        try {
            const ExtendedPath extended = ToExtendedPath(path);
            if (extended.error != ERROR_SUCCESS) {
                return Win32Failure(extended.error, CouldNot(L"delete the folder", path));
            }
            return DeleteTree({extended.text, path}, force, treeWorkers_.removal, WaitOfStep(step));
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override {
        try {
            const ExtendedPath from = ToExtendedPath(source);
            const ExtendedPath to = ToExtendedPath(destination);
            const DWORD error = from.error != ERROR_SUCCESS ? from.error : to.error;
            if (error != ERROR_SUCCESS) {
                return Win32Failure(
                    error, CouldNot(L"copy the folder", source) + L" to \"" + destination + L"\"");
            }
            return CopyTree({from.text, source}, {to.text, destination}, overwrite, progress,
                            treeWorkers_.copy, holdWait_);
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    FolderSize MeasureFolder(const std::wstring& path) override {
        try {
            const ExtendedPath extended = ToExtendedPath(path);
            if (extended.error != ERROR_SUCCESS) {
                return {0, 0, Win32Failure(extended.error, CouldNot(L"read the folder", path))};
            }
            return MeasureTree({extended.text, path});
        } catch (const std::bad_alloc&) {
            return {0, 0, OutOfMemory()};
        }
    }

    Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                      StepHoldBound* step) override {
        try {
            const std::wstring action =
                CouldNot(L"move the folder", source) + L" to \"" + destination + L"\"";
            const ExtendedPath from = ToExtendedPath(source);
            const ExtendedPath to = ToExtendedPath(destination);
            DWORD error = from.error != ERROR_SUCCESS ? from.error : to.error;
            if (error == ERROR_SUCCESS) {
                const DWORD attributes = GetFileAttributesW(from.text.c_str());
                if (attributes == INVALID_FILE_ATTRIBUTES) {
                    error = GetLastError();
                    error = error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
                } else if ((attributes &
                            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
                    error = ERROR_DIRECTORY;  // a Windows link to a file is moved as the link
                }
            }
            if (error != ERROR_SUCCESS) {
                return Win32Failure(error, action);
            }
            // No flags: never replaces an existing item, never copies across volumes. On Windows
            // a folder cannot be renamed while a file inside is open. A destination that exists
            // is the answer, however Windows words it.
            error = CallWhileHeld(
                WaitOfStep(step),
                [&] { return MoveFileExW(from.text.c_str(), to.text.c_str(), 0); },
                [&to](DWORD answer) {
                    return IsHoldError(answer) &&
                           GetFileAttributesW(to.text.c_str()) == INVALID_FILE_ATTRIBUTES;
                });
            // Wine shows nothing of a Unix link that leads nowhere, and refuses to move onto it
            // as if the source were no folder.
            if (error == ERROR_DIRECTORY || error == ERROR_FILE_EXISTS) {
                error = ERROR_ALREADY_EXISTS;
            }
            return error == ERROR_SUCCESS
                       ? Status::Success()
                       : Win32HeldItemFailure(error, action, FilesBelow(from.text));
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }

    ResolvedPath ResolvePath(const std::wstring& path) override {
        try {
            const ExtendedPath extended = ToExtendedPath(path);
            if (extended.error != ERROR_SUCCESS) {
                return {{}, Win32Failure(extended.error, CouldNot(L"resolve the path", path))};
            }
            return ResolveItemPath({extended.text, path});
        } catch (const std::bad_alloc&) {
            return {{}, OutOfMemory()};
        }
    }

    FolderNames ListNames(const std::wstring& folder) override {
        try {
            const ExtendedPath extended = ToExtendedPath(folder);
            DWORD error = extended.error;
            FolderNames listed;
            FolderListing listing(extended.text);
            while (error == ERROR_SUCCESS && (error = listing.Next()) == ERROR_SUCCESS) {
                listed.names.emplace_back(listing.Entry().cFileName);
            }
            if (error != ERROR_NO_MORE_FILES) {
                listed.status = Win32Failure(error, CouldNot(L"read the folder", folder));
            }
            return listed;
        } catch (const std::bad_alloc&) {
            return {{}, OutOfMemory()};
        }
    }

    LinkProbe ProbeLink(const std::wstring& path) override {
        try {
            const ExtendedPath extended = ToExtendedPath(path);
            if (extended.error != ERROR_SUCCESS) {
                return {};
            }
            return ProbeLinkEntry({extended.text, path});
        } catch (const std::bad_alloc&) {
            return {LinkKind::None, OutOfMemory()};
        }
    }

    LockAcquisition LockExclusively(const std::wstring& path) override {
        try {
            const ExtendedPath extended = ToExtendedPath(path);
            if (extended.error != ERROR_SUCCESS) {
                return {nullptr, false,
                        Win32Failure(extended.error, CouldNot(L"lock the file", path))};
            }
            return LockFileExclusively({extended.text, path});
        } catch (const std::bad_alloc&) {
            return {nullptr, false, OutOfMemory()};
        }
    }

  private:
    HoldWait WaitOfStep(StepHoldBound* step) const {
        HoldWait wait = holdWait_;
        wait.step = step;
        return wait;
    }

    const TreeWorkers treeWorkers_;
    const HoldWait holdWait_;
};

FileSystemCreation CreateWin32FileSystem(TreeWorkers treeWorkers, HoldWait holdWait) {
    try {
        return {std::make_unique<Win32FileSystem>(treeWorkers, std::move(holdWait)),
                Status::Success()};
    } catch (const std::bad_alloc&) {
        return {nullptr, OutOfMemory()};
    }
}

}  // namespace

FileSystemCreation CreateFileSystem() {
    return CreateFileSystemWithTreeWorkers({});
}

FileSystemCreation CreateFileSystemWithTreeWorkers(TreeWorkers treeWorkers) {
    return CreateWin32FileSystem(treeWorkers, {});
}

FileSystemCreation CreateFileSystemWithHoldWait(HoldWait holdWait) {
    return CreateWin32FileSystem({}, std::move(holdWait));
}

}  // namespace vestro
