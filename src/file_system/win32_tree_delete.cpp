#include "win32_tree_delete.h"

#include <windows.h>

#include <memory>

#include "file_system/win32_error_text.h"
#include "file_system/win32_owned_handle.h"
#include "folder_removal.h"
#include "win32_folder_listing.h"
#include "win32_held_item_failure.h"
#include "win32_hold_errors.h"
#include "win32_item_location.h"
#include "win32_linked_folder.h"
#include "work_pool.h"

namespace vestro {
namespace {

DWORD ClearReadOnly(const ItemPath& item, DWORD attributes, bool force, const HoldWait& wait) {
    if (!force || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return ERROR_SUCCESS;
    }
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD kept = attributes & kSettable;
    return CallWhileHeld(wait, [&] {
        return SetFileAttributesW(item.system.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    });
}

OwnedHandle OpenForDeletion(const std::wstring& systemPath, DWORD flags) {
    return OwnedHandle(CreateFileW(systemPath.c_str(),
                                   DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, flags, nullptr));
}

DWORD ClearReadOnlyOf(HANDLE file, DWORD attributes, bool force) {
    if (!force || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return ERROR_SUCCESS;
    }
    FILE_BASIC_INFO basic{};  // times left at 0: unchanged
    basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0) {
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    }
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) ? ERROR_SUCCESS
                                                                                  : GetLastError();
}

// Deletes through a handle of the entry itself (a Windows link is opened as the link), once the
// system has said what that handle reaches: under Wine a Unix link to a file looks like a plain
// file, and deleting it would delete the file it points to, wherever that is. Such a link stays.
Status DeleteOneFile(const ItemPath& file, const ItemLocation& expected, DWORD attributes,
                     bool force, const HoldWait& wait) {
    const std::wstring action = CouldNot(L"delete the file", file.display);
    OwnedHandle handle;
    DWORD error = CallWhileHeld(wait, [&] {
        handle = OpenForDeletion(file.system, FILE_FLAG_OPEN_REPARSE_POINT);
        return static_cast<bool>(handle);
    });
    if (error == ERROR_SUCCESS) {
        const ItemLocation reached = LocationOf(handle.Get());
        if (reached.error != ERROR_SUCCESS) {
            return Win32Failure(reached.error, action);
        }
        if (!IsSameLocation(reached, expected)) {
            return Status::Failure(std::error_code(ERROR_CANT_ACCESS_FILE, std::system_category()),
                                   action + L": it is a link to \"" + reached.path +
                                       L"\", and deleting it here would delete that file. It has "
                                       L"been left in place.");
        }
        error = ClearReadOnlyOf(handle.Get(), attributes, force);
    }
    // A read-only file left so is denied for good, not held.
    const bool refused = !force && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (error == ERROR_SUCCESS) {
        FILE_DISPOSITION_INFO disposition{TRUE};
        error = CallWhileHeld(
            wait,
            [&] {
                return SetFileInformationByHandle(handle.Get(), FileDispositionInfo, &disposition,
                                                  sizeof(disposition));
            },
            [refused](DWORD answer) { return !refused && IsHoldError(answer); });
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32HeldItemFailure(error, action, {file.system});
}

// Also removes a link to a folder, as the link itself.
Status RemoveFolderEntry(const ItemPath& folder, DWORD attributes, bool force,
                         std::wstring_view what, const HoldWait& wait) {
    DWORD error = ClearReadOnly(folder, attributes, force, wait);
    if (error == ERROR_SUCCESS) {
        error = CallWhileHeld(
            wait, [&] { return RemoveDirectoryW(folder.system.c_str()); },
            IsHoldErrorOfFolderRemoval);
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32HeldItemFailure(error, CouldNot(what, folder.display),
                                                         FilesBelow(folder.system));
}

Status RemoveLink(const ItemPath& link, DWORD attributes, DWORD reparseTag, bool force,
                  const HoldWait& wait) {
    // Only Wine's Unix links come without a tag, and Wine removes the folder such a link points
    // to (when empty) instead of the link: refuse rather than touch it.
    if (reparseTag == 0) {
        return Win32Failure(ERROR_NOT_SUPPORTED, CouldNot(L"delete the link", link.display));
    }
    return RemoveFolderEntry(link, attributes, force, L"delete the link", wait);
}

struct DeleteWalk {
    WorkPool& pool;
    bool force = false;
    const HoldWait& wait;
};

Status DeleteFolderContents(DeleteWalk& walk, const ItemPath& folder,
                            const std::shared_ptr<FolderRemoval>& removal);

// A subfolder is a job of its own, listed and emptied by a worker, or at once by this thread
// when the queue is full: the listings of the old data are read side by side.
void HandOut(DeleteWalk& walk, ItemPath folder, DWORD attributes,
             const std::shared_ptr<FolderRemoval>& parent) {
    auto removal = std::make_shared<FolderRemoval>(parent, [folder, attributes, &walk] {
        return RemoveFolderEntry(folder, attributes, walk.force, L"delete the folder", walk.wait);
    });
    walk.pool.SubmitOrRunHere([&walk, folder = std::move(folder), removal] {
        return DeleteFolderContents(walk, folder, removal);
    });
}

// Removes the folder's files and links itself and hands its subfolders out; then settles the
// folder, which goes once its subfolders have gone too.
Status DeleteFolderContents(DeleteWalk& walk, const ItemPath& folder,
                            const std::shared_ptr<FolderRemoval>& removal) {
    bool left = false;
    {
        // Every entry that is not a link lies where the folder lies, under its own name.
        const ItemLocation folderLocation = LocationOfPath(folder.system);
        FolderListing listing(folder.system);  // closed before the folder's removal
        DWORD error = folderLocation.error;
        while (error == ERROR_SUCCESS && (error = listing.Next()) == ERROR_SUCCESS) {
            const WIN32_FIND_DATAW& entry = listing.Entry();
            ItemPath item = folder.Child(entry.cFileName);
            const DWORD attributes = entry.dwFileAttributes;
            Status status;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                status = DeleteOneFile(item, LocationInside(folderLocation, entry.cFileName),
                                       attributes, walk.force, walk.wait);
            } else if (IsLinkedFolder(attributes, entry.dwReserved0)) {
                status = RemoveLink(item, attributes, entry.dwReserved0, walk.force, walk.wait);
            } else {
                HandOut(walk, std::move(item), attributes, removal);
            }
            if (status.Failed()) {
                left = true;
                walk.pool.Fail(std::move(status));
            }
        }
        if (error != ERROR_NO_MORE_FILES) {
            left = true;
            walk.pool.Fail(Win32Failure(error, CouldNot(L"read the folder", folder.display)));
        }
    }
    return FolderRemoval::Settle(removal, left);
}

}  // namespace

Status DeleteTree(const ItemPath& root, bool force, unsigned workers, const HoldWait& wait) {
    const DWORD rootAttributes = GetFileAttributesW(root.system.c_str());
    if (rootAttributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return Win32Failure(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error,
                            CouldNot(L"delete the folder", root.display));
    }
    if ((rootAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Win32Failure(ERROR_DIRECTORY, CouldNot(L"delete the folder", root.display));
    }
    if ((rootAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        const DWORD reparseTag = ReadReparseTag(root.system);
        if (IsLinkedFolder(rootAttributes, reparseTag)) {
            return RemoveLink(root, rootAttributes, reparseTag, force, wait);
        }
    }

    // Workers empty the folders side by side; a folder goes when its last piece has gone.
    // Memory holds a queue of folders and, per thread, the listings of the folders it is in.
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kContinue);
    DeleteWalk walk{pool, force, wait};
    auto removal = std::make_shared<FolderRemoval>(nullptr, [&root, rootAttributes, force, &wait] {
        return RemoveFolderEntry(root, rootAttributes, force, L"delete the folder", wait);
    });
    pool.RunHere([&walk, &root, &removal] { return DeleteFolderContents(walk, root, removal); });
    return pool.Finish();
}

}  // namespace vestro
