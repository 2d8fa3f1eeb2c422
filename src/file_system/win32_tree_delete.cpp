#include "file_system/win32_tree_delete.h"

#include <windows.h>

#include <vector>

#include "file_system/win32_error_text.h"
#include "file_system/win32_folder_listing.h"
#include "file_system/win32_linked_folder.h"

namespace vestro {
namespace {

struct OpenFolder {
    FolderListing listing;
    ItemPath path;
    DWORD attributes;
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

}  // namespace

Status DeleteTree(const ItemPath& root, bool force) {
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

    // One walk, deepest folder last in the list; memory grows with depth only.
    std::vector<OpenFolder> open;
    open.push_back({FolderListing(root.system), root, rootAttributes});
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        const DWORD error = folder.listing.Next();
        if (error == ERROR_NO_MORE_FILES) {
            const ItemPath emptied = std::move(folder.path);
            const DWORD attributes = folder.attributes;
            open.pop_back();  // closes the listing, which would keep the folder in use
            if (Status status = RemoveFolderEntry(emptied, attributes, force, L"delete the folder");
                status.Failed()) {
                return status;
            }
            continue;
        }
        if (error != ERROR_SUCCESS) {
            return Win32Failure(error, CouldNot(L"read the folder", folder.path.display));
        }
        const WIN32_FIND_DATAW& entry = folder.listing.Entry();
        ItemPath item = folder.path.Child(entry.cFileName);
        const DWORD attributes = entry.dwFileAttributes;
        Status status;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            status = DeleteOneFile(item, attributes, force);
        } else if (IsLinkedFolder(attributes, entry.dwReserved0)) {
            status = RemoveLink(item, attributes, entry.dwReserved0, force);
        } else {
            FolderListing listing(item.system);
            open.push_back({std::move(listing), std::move(item), attributes});
        }
        if (status.Failed()) {
            return status;
        }
    }
    return Status::Success();
}

}  // namespace vestro
