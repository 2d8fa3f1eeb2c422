#include "file_system/win32_tree_delete.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "file_system/folder_removal.h"
#include "file_system/win32_error_text.h"
#include "file_system/win32_folder_listing.h"
#include "file_system/win32_linked_folder.h"
#include "file_system/work_pool.h"

namespace vestro {
namespace {

struct OpenFolder {
    FolderListing listing;
    ItemPath path;
    std::shared_ptr<FolderRemoval> removal;
};

DWORD ClearReadOnly(const ItemPath& item, DWORD attributes, bool force) {
    if (!force || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return ERROR_SUCCESS;
    }
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD kept = attributes & kSettable;
    return SetFileAttributesW(item.system.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL)
               ? ERROR_SUCCESS
               : GetLastError();
}

Status DeleteOneFile(const ItemPath& file, DWORD attributes, bool force) {
    DWORD error = ClearReadOnly(file, attributes, force);
    if (error == ERROR_SUCCESS && !DeleteFileW(file.system.c_str())) {
        error = GetLastError();
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32Failure(error, CouldNot(L"delete the file", file.display));
}

// Also removes a link to a folder, as the link itself.
Status RemoveFolderEntry(const ItemPath& folder, DWORD attributes, bool force,
                         std::wstring_view what) {
    DWORD error = ClearReadOnly(folder, attributes, force);
    if (error == ERROR_SUCCESS && !RemoveDirectoryW(folder.system.c_str())) {
        error = GetLastError();
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32Failure(error, CouldNot(what, folder.display));
}

Status RemoveLink(const ItemPath& link, DWORD attributes, DWORD reparseTag, bool force) {
    // Only Wine's Unix links come without a tag, and Wine removes the folder such a link points
    // to (when empty) instead of the link: refuse rather than touch it.
    if (reparseTag == 0) {
        return Win32Failure(ERROR_NOT_SUPPORTED, CouldNot(L"delete the link", link.display));
    }
    return RemoveFolderEntry(link, attributes, force, L"delete the link");
}

// A file or link is removed by a worker, which then settles its folder.
void HandOut(WorkPool& pool, const std::shared_ptr<FolderRemoval>& folder, ItemPath item,
             const WIN32_FIND_DATAW& entry, bool force) {
    folder->Expect();
    const DWORD attributes = entry.dwFileAttributes;
    const DWORD reparseTag = entry.dwReserved0;
    pool.Submit([folder, item = std::move(item), attributes, reparseTag, force] {
        const Status status = (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
                                  ? DeleteOneFile(item, attributes, force)
                                  : RemoveLink(item, attributes, reparseTag, force);
        Status removal = FolderRemoval::Settle(folder, status.Failed());
        return status.Failed() ? status : removal;
    });
}

}  // namespace

Status DeleteTree(const ItemPath& root, bool force, unsigned workers) {
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
            return RemoveLink(root, rootAttributes, reparseTag, force);
        }
    }

    // One walk, deepest folder last in the list: memory grows with depth only. Workers remove
    // the files; a folder goes when its last piece has gone. A failure stops nothing else.
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kContinue);
    std::vector<OpenFolder> open;
    const auto enter = [&](ItemPath folder, DWORD attributes,
                           std::shared_ptr<FolderRemoval> parent) {
        auto removal =
            std::make_shared<FolderRemoval>(std::move(parent), [folder, attributes, force] {
                return RemoveFolderEntry(folder, attributes, force, L"delete the folder");
            });
        FolderListing listing(folder.system);
        open.push_back({std::move(listing), std::move(folder), std::move(removal)});
    };
    enter(root, rootAttributes, nullptr);
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        const DWORD error = folder.listing.Next();
        if (error != ERROR_SUCCESS) {
            if (error != ERROR_NO_MORE_FILES) {
                pool.Fail(Win32Failure(error, CouldNot(L"read the folder", folder.path.display)));
            }
            std::shared_ptr<FolderRemoval> removal = std::move(folder.removal);
            open.pop_back();  // closes the listing, which would keep the folder in use
            pool.Fail(FolderRemoval::Settle(std::move(removal), error != ERROR_NO_MORE_FILES));
            continue;
        }
        const WIN32_FIND_DATAW& entry = folder.listing.Entry();
        ItemPath item = folder.path.Child(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0)) {
            HandOut(pool, folder.removal, std::move(item), entry, force);
        } else {
            std::shared_ptr<FolderRemoval> parent = folder.removal;
            enter(std::move(item), entry.dwFileAttributes, std::move(parent));
        }
    }
    return pool.Finish();
}

}  // namespace vestro
