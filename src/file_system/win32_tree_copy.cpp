#include "file_system/win32_tree_copy.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "file_system/win32_error_text.h"
#include "file_system/win32_folder_identity.h"
#include "file_system/win32_folder_listing.h"
#include "file_system/win32_linked_folder.h"

namespace vestro {
namespace {

struct OpenFolder {
    FolderListing listing;
    ItemPath source;
    ItemPath destination;
    // Read only once a link makes a loop possible.
    std::optional<FolderIdentity> identity;
};

std::wstring CopyAction(std::wstring_view what, const ItemPath& source,
                        const ItemPath& destination) {
    return CouldNot(what, source.display) + L" to \"" + destination.display + L"\"";
}

Status CreateFolder(const ItemPath& folder) {
    if (CreateDirectoryW(folder.system.c_str(), nullptr)) {
        return Status::Success();
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder.system.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Status::Success();
        }
    }
    return Win32Failure(error, CouldNot(L"create the folder", folder.display));
}

Status CopyOneFile(const ItemPath& source, const ItemPath& destination, bool overwrite) {
    // CopyFileExW streams the content and keeps times and attributes, read-only included.
    if (CopyFileExW(source.system.c_str(), destination.system.c_str(), nullptr, nullptr, nullptr,
                    overwrite ? 0 : COPY_FILE_FAIL_IF_EXISTS)) {
        return Status::Success();
    }
    return Win32Failure(GetLastError(), CopyAction(L"copy the file", source, destination));
}

// A linked folder that leads back to a folder being copied would make the copy endless.
Status RefuseLoop(std::vector<OpenFolder>& open, const ItemPath& link,
                  const ItemPath& destination) {
    const FolderIdentityReading target = ReadFolderIdentity(link.system);
    if (target.error != ERROR_SUCCESS) {
        return Win32Failure(target.error, CopyAction(L"copy the folder", link, destination));
    }
    for (OpenFolder& folder : open) {
        if (!folder.identity) {
            const FolderIdentityReading reading = ReadFolderIdentity(folder.source.system);
            if (reading.error != ERROR_SUCCESS) {
                return Win32Failure(reading.error,
                                    CouldNot(L"read the folder", folder.source.display));
            }
            folder.identity = reading.identity;
        }
        if (*folder.identity == target.identity) {
            return Win32Failure(ERROR_CANT_RESOLVE_FILENAME,
                                CopyAction(L"copy the folder", link, destination));
        }
    }
    return Status::Success();
}

std::uint64_t FileSize(const WIN32_FIND_DATAW& entry) {
    return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

}  // namespace

Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress) {
    const DWORD sourceAttributes = GetFileAttributesW(source.system.c_str());
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return Win32Failure(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error,
                            CopyAction(L"copy the folder", source, destination));
    }
    if ((sourceAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Win32Failure(ERROR_DIRECTORY, CopyAction(L"copy the folder", source, destination));
    }
    if (Status status = CreateFolder(destination); status.Failed()) {
        return status;
    }

    // One walk, deepest folder last in the list; memory grows with depth only.
    std::vector<OpenFolder> open;
    open.push_back({FolderListing(source.system), source, destination, std::nullopt});
    std::uint64_t bytesCopied = 0;
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        const DWORD error = folder.listing.Next();
        if (error == ERROR_NO_MORE_FILES) {
            open.pop_back();
            continue;
        }
        if (error != ERROR_SUCCESS) {
            return Win32Failure(error, CouldNot(L"read the folder", folder.source.display));
        }
        const WIN32_FIND_DATAW& entry = folder.listing.Entry();
        ItemPath from = folder.source.Child(entry.cFileName);
        ItemPath to = folder.destination.Child(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            if (Status status = CopyOneFile(from, to, overwrite); status.Failed()) {
                return status;
            }
            bytesCopied += FileSize(entry);
            if (progress) {
                progress(bytesCopied);
            }
            continue;
        }
        if (IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0)) {
            if (Status status = RefuseLoop(open, from, to); status.Failed()) {
                return status;
            }
        }
        if (Status status = CreateFolder(to); status.Failed()) {
            return status;
        }
        FolderListing listing(from.system);
        open.push_back({std::move(listing), std::move(from), std::move(to), std::nullopt});
    }
    return Status::Success();
}

FolderSize MeasureTree(const ItemPath& root) {
    FolderSize size;
    std::vector<FolderListing> open;
    std::vector<ItemPath> paths;
    open.emplace_back(root.system);
    paths.push_back(root);
    while (!open.empty()) {
        const DWORD error = open.back().Next();
        if (error == ERROR_NO_MORE_FILES) {
            open.pop_back();
            paths.pop_back();
            continue;
        }
        if (error != ERROR_SUCCESS) {
            size.status = Win32Failure(error, CouldNot(L"read the folder", paths.back().display));
            return size;
        }
        const WIN32_FIND_DATAW& entry = open.back().Entry();
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++size.files;
            size.bytes += FileSize(entry);
        } else if (!IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0)) {
            ItemPath folder = paths.back().Child(entry.cFileName);
            open.emplace_back(folder.system);
            paths.push_back(std::move(folder));
        }
    }
    return size;
}

}  // namespace vestro
