#include "win32_tree_copy.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "case_duplicates.h"
#include "file_system/path_text.h"
#include "file_system/win32_error_text.h"
#include "progress_tally.h"
#include "tree_copy_walk.h"
#include "tree_refusals.h"
#include "win32_folder_identity.h"
#include "win32_folder_listing.h"
#include "win32_held_item_failure.h"
#include "win32_hold_errors.h"
#include "win32_linked_folder.h"
#include "win32_resolved_path.h"
#include "work_pool.h"

namespace vestro {
namespace {

using CopyWalk = TreeCopyWalk<ItemPath, std::wstring, FolderIdentity>;
using Subfolder = CopyWalk::Subfolder;
using OpenFolder = CopyWalk::OpenFolder;

struct ListedEntry {
    std::wstring name;
    DWORD attributes = 0;
    DWORD reparseTag = 0;
    std::uint64_t size = 0;
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

Status ReadIdentity(const ItemPath& folder, FolderIdentity& identity) {
    const FolderIdentityReading reading = ReadFolderIdentity(folder.system);
    if (reading.error != ERROR_SUCCESS) {
        return Win32Failure(reading.error, CouldNot(L"read the folder", folder.display));
    }
    identity = reading.identity;
    return Status::Success();
}

Status CopyOneFile(const ItemPath& source, const ItemPath& destination, bool overwrite,
                   std::uint64_t size, ProgressTally& tally, const HoldWait& wait) {
    // CopyFileExW streams the content and keeps times and attributes, read-only included: the
    // attribute lands on the new file only once its content is in.
    const DWORD error = CallWhileHeld(wait, [&] {
        return CopyFileExW(source.system.c_str(), destination.system.c_str(), nullptr, nullptr,
                           nullptr, overwrite ? 0 : COPY_FILE_FAIL_IF_EXISTS);
    });
    if (error != ERROR_SUCCESS) {
        return Win32HeldItemFailure(error, CopyAction(L"copy the file", source, destination),
                                    {source.system, destination.system});
    }
    tally.Add(size);
    return Status::Success();
}

int CompareAsWindows(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) -
           CSTR_EQUAL;
}

// A case-sensitive source (Linux, or a folder with case sensitivity turned on) may hold names
// that would make one file here, the second overwriting or stopping the first.
Status RefuseCaseDuplicates(const ItemPath& folder, std::vector<std::wstring> names) {
    const auto duplicate = FindCaseDuplicate(std::move(names), CompareAsWindows);
    if (!duplicate) {
        return Status::Success();
    }
    return Status::Failure(
        std::error_code(ERROR_ALREADY_EXISTS, std::system_category()),
        CouldNot(L"copy the folder", folder.display) + L": \"" +
            folder.Child(duplicate->first).display + L"\" and \"" +
            folder.Child(duplicate->second).display +
            L"\" differ only in letter case, and Windows takes them for one name.");
}

// Lists the whole folder first, so that names clashing here stop the copy before any of them
// is copied; then hands its files out and keeps its subfolders for the walk.
Status EnterFolder(CopyWalk& walk, ItemPath source, ItemPath destination, FolderIdentity identity,
                   const HoldWait& wait) {
    FolderListing listing(source.system);
    std::vector<ListedEntry> entries;
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
    while ((error = listing.Next()) == ERROR_SUCCESS) {
        const WIN32_FIND_DATAW& entry = listing.Entry();
        entries.push_back(
            {entry.cFileName, entry.dwFileAttributes, entry.dwReserved0,
             (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow});
        names.push_back(entry.cFileName);
    }
    if (error != ERROR_NO_MORE_FILES) {
        return Win32Failure(error, CouldNot(L"read the folder", source.display));
    }
    if (Status status = RefuseCaseDuplicates(source, std::move(names)); status.Failed()) {
        return status;
    }
    OpenFolder folder{std::move(source), std::move(destination), identity, {}};
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if ((entry->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            folder.subfolders.push_back(
                {std::move(entry->name), IsLinkedFolder(entry->attributes, entry->reparseTag)});
            continue;
        }
        const bool handedOut = walk.pool.Submit(
            [from = folder.source.Child(entry->name), to = folder.destination.Child(entry->name),
             overwrite = walk.overwrite, size = entry->size, &tally = walk.tally,
             &wait] { return CopyOneFile(from, to, overwrite, size, tally, wait); });
        if (!handedOut) {
            return Status::Success();  // the pool holds the failure that stopped it
        }
    }
    std::reverse(folder.subfolders.begin(), folder.subfolders.end());
    walk.open.push_back(std::move(folder));
    return Status::Success();
}

// A linked folder leading back to a folder being copied, or the walk reaching the destination
// (which lies inside the source), would make the copy endless.
Status EnterSubfolder(CopyWalk& walk, const Subfolder& subfolder, const HoldWait& wait) {
    const OpenFolder& parent = walk.open.back();
    ItemPath from = parent.source.Child(subfolder.name);
    ItemPath to = parent.destination.Child(subfolder.name);
    FolderIdentity identity;
    if (Status status = ReadIdentity(from, identity); status.Failed()) {
        return status;
    }
    if (identity == walk.destinationIdentity) {
        return Status::Failure(
            std::error_code(ERROR_INVALID_PARAMETER, std::system_category()),
            CopyAction(L"copy the folder", from, to) + L": it is the copy's own destination \"" +
                walk.destinationRoot.display + L"\", which the copy must not enter.");
    }
    if (subfolder.linked && walk.IsOpen(identity)) {
        return Win32Failure(ERROR_CANT_RESOLVE_FILENAME, CopyAction(L"copy the folder", from, to));
    }
    if (Status status = CreateFolder(to); status.Failed()) {
        return status;
    }
    return EnterFolder(walk, std::move(from), std::move(to), identity, wait);
}

// A link to a folder, or on Windows a link to a file; under Wine a Unix link to a file has no
// mark and is seen as the file it points to.
bool IsLink(const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0);
    }
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(entry.dwReserved0);
}

}  // namespace

Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress, unsigned workers, const HoldWait& wait) {
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
    FolderIdentity sourceIdentity;
    FolderIdentity destinationIdentity;
    if (Status status = ReadIdentity(source, sourceIdentity); status.Failed()) {
        return status;
    }
    if (Status status = ReadIdentity(destination, destinationIdentity); status.Failed()) {
        return status;
    }
    if (sourceIdentity == destinationIdentity) {
        return Status::Failure(
            std::error_code(ERROR_INVALID_PARAMETER, std::system_category()),
            CopyAction(L"copy the folder", source, destination) + L": they are the same folder.");
    }

    ProgressTally tally(progress);  // outlives the pool, whose workers report to it
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop);
    CopyWalk walk{destination, destinationIdentity, overwrite, pool, tally, {}};
    return walk.CopySubfolders(EnterFolder(walk, source, destination, sourceIdentity, wait),
                               [&walk, &wait](const Subfolder& subfolder) {
                                   return EnterSubfolder(walk, subfolder, wait);
                               });
}

FolderSize MeasureTree(const ItemPath& root) {
    FolderSize size;
    const DWORD rootAttributes = GetFileAttributesW(root.system.c_str());
    if (rootAttributes != INVALID_FILE_ATTRIBUTES &&
        (rootAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        size.status = FileWhereFolderBelongs(root.display);
        return size;
    }
    const SizedText rootReached = FinalPathReached(root.system);
    if (rootReached.error != ERROR_SUCCESS) {
        size.status = Win32Failure(rootReached.error, CouldNot(L"read the folder", root.display));
        return size;
    }
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
        if (IsLink(entry)) {
            const ItemPath link = paths.back().Child(entry.cFileName);
            const SizedText reached = FinalPathReached(link.system);
            if (reached.error != ERROR_SUCCESS) {
                size.status = Win32Failure(reached.error, CouldNot(L"read the link", link.display));
                return size;
            }
            if (!IsSameOrInside(reached.text, rootReached.text)) {
                size.status = LinkLeadsOutside(root.display, link.display, reached.text);
                return size;
            }
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++size.files;
            size.bytes +=
                (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        } else if (!IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0)) {
            ItemPath folder = paths.back().Child(entry.cFileName);
            open.emplace_back(folder.system);
            paths.push_back(std::move(folder));
        }
    }
    return size;
}

}  // namespace vestro
