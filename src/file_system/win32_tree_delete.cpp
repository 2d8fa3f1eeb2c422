#include "win32_tree_delete.h"

#include <windows.h>

#include <memory>

#include "file_system/win32_error_text.h"
#include "folder_removal.h"
#include "win32_folder_listing.h"
#include "win32_held_item_failure.h"
#include "win32_hold_errors.h"
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

Status DeleteOneFile(const ItemPath& file, DWORD attributes, bool force, const HoldWait& wait) {
    DWORD error = ClearReadOnly(file, attributes, force, wait);
    // A read-only file left so is denied for good, not held.
    const bool refused = !force && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (error == ERROR_SUCCESS) {
        error = CallWhileHeld(
            wait, [&] { return DeleteFileW(file.system.c_str()); },
            [refused](DWORD answer) { return !refused && IsHoldError(answer); });
    }
    return error == ERROR_SUCCESS
               ? Status::Success()
               : Win32HeldItemFailure(error, CouldNot(L"delete the file", file.display),
                                      {file.system});
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
        FolderListing listing(folder.system);  // closed before the folder's removal
        DWORD error = ERROR_SUCCESS;
        while ((error = listing.Next()) == ERROR_SUCCESS) {
            const WIN32_FIND_DATAW& entry = listing.Entry();
            ItemPath item = folder.Child(entry.cFileName);
            const DWORD attributes = entry.dwFileAttributes;
            Status status;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                status = DeleteOneFile(item, attributes, walk.force, walk.wait);
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
