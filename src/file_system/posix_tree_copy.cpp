#include "posix_tree_copy.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "case_duplicates.h"
#include "posix_failure.h"
#include "posix_file_copy.h"
#include "progress_tally.h"
#include "tree_copy_walk.h"
#include "work_pool.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    bool operator==(const FolderIdentity&) const = default;
};

using CopyWalk = TreeCopyWalk<ItemPath, fs::path, FolderIdentity>;
using Subfolder = CopyWalk::Subfolder;
using OpenFolder = CopyWalk::OpenFolder;

std::wstring CopyAction(std::wstring_view what, const ItemPath& source,
                        const ItemPath& destination) {
    return CouldNot(what, source.display) + L" to \"" + destination.display + L"\"";
}

// New folders get the usual permissions rather than the source's, so a copy of a read-only
// folder can still be filled and removed.
Status CreateFolder(const ItemPath& folder) {
    std::error_code error;
    fs::create_directory(folder.system, error);
    return error ? PosixFailure(error, CouldNot(L"create the folder", folder.display))
                 : Status::Success();
}

// Follows links: a linked folder is known by the folder it points to.
Status ReadIdentity(const ItemPath& folder, FolderIdentity& identity) {
    struct stat information {};
    if (::stat(folder.system.c_str(), &information) != 0) {
        return PosixFailure(std::error_code(errno, std::generic_category()),
                            CouldNot(L"read the folder", folder.display));
    }
    identity = {information.st_dev, information.st_ino};
    return Status::Success();
}

Status CopyAndCount(const ItemPath& source, const ItemPath& destination, bool overwrite,
                    ProgressTally& tally) {
    std::uint64_t bytes = 0;
    Status status = CopyOneFile(source, destination, overwrite, bytes);
    if (!status.Failed()) {
        tally.Add(bytes);
    }
    return status;
}

// Windows would make one file of the two, the second overwriting or stopping the first.
Status RefuseCaseDuplicates(const ItemPath& folder, std::vector<std::wstring> names) {
    const auto duplicate = FindCaseDuplicate(std::move(names), CompareIgnoringCase);
    if (!duplicate) {
        return Status::Success();
    }
    return Status::Failure(
        std::make_error_code(std::errc::file_exists),
        CouldNot(L"copy the folder", folder.display) + L": \"" +
            folder.Child(ToFileSystemPath(duplicate->first)).display + L"\" and \"" +
            folder.Child(ToFileSystemPath(duplicate->second)).display +
            L"\" differ only in letter case, and Windows takes them for one name.");
}

// Lists the whole folder first, so that names clashing on Windows stop the copy before any of
// them is copied; then hands its files out and keeps its subfolders for the walk.
Status EnterFolder(CopyWalk& walk, ItemPath source, ItemPath destination, FolderIdentity identity) {
    std::error_code error;
    fs::directory_iterator listing(source.system, error);
    std::vector<fs::directory_entry> entries;
    std::vector<std::wstring> names;
    for (; !error && listing != fs::directory_iterator(); listing.increment(error)) {
        entries.push_back(*listing);
        names.push_back(ToPathText(listing->path().filename()));
    }
    if (error) {
        return PosixFailure(error, CouldNot(L"read the folder", source.display));
    }
    if (Status status = RefuseCaseDuplicates(source, std::move(names)); status.Failed()) {
        return status;
    }
    OpenFolder folder{std::move(source), std::move(destination), identity, {}};
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        fs::path name = entry->path().filename();
        // The listing knows the type; only a symbolic link costs a look at its target.
        if (entry->is_directory(error)) {
            folder.subfolders.push_back({std::move(name), entry->is_symlink(error)});
            continue;
        }
        const bool handedOut =
            walk.pool.Submit([from = folder.source.Child(name), to = folder.destination.Child(name),
                              overwrite = walk.overwrite, &tally = walk.tally] {
                return CopyAndCount(from, to, overwrite, tally);
            });
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
Status EnterSubfolder(CopyWalk& walk, const Subfolder& subfolder) {
    const OpenFolder& parent = walk.open.back();
    ItemPath from = parent.source.Child(subfolder.name);
    ItemPath to = parent.destination.Child(subfolder.name);
    FolderIdentity identity;
    if (Status status = ReadIdentity(from, identity); status.Failed()) {
        return status;
    }
    if (identity == walk.destinationIdentity) {
        return Status::Failure(
            std::make_error_code(std::errc::invalid_argument),
            CopyAction(L"copy the folder", from, to) + L": it is the copy's own destination \"" +
                walk.destinationRoot.display + L"\", which the copy must not enter.");
    }
    if (subfolder.linked && walk.IsOpen(identity)) {
        return PosixFailure(std::make_error_code(std::errc::too_many_symbolic_link_levels),
                            CopyAction(L"copy the folder", from, to));
    }
    if (Status status = CreateFolder(to); status.Failed()) {
        return status;
    }
    return EnterFolder(walk, std::move(from), std::move(to), identity);
}

}  // namespace

Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress, unsigned workers) {
    std::error_code error;
    const fs::file_status sourceStatus = fs::status(source.system, error);
    if (error) {
        return PosixFailure(error, CopyAction(L"copy the folder", source, destination));
    }
    if (!fs::is_directory(sourceStatus)) {
        return PosixFailure(std::make_error_code(std::errc::not_a_directory),
                            CopyAction(L"copy the folder", source, destination));
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
            std::make_error_code(std::errc::invalid_argument),
            CopyAction(L"copy the folder", source, destination) + L": they are the same folder.");
    }

    ProgressTally tally(progress);  // outlives the pool, whose workers report to it
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop);
    CopyWalk walk{destination, destinationIdentity, overwrite, pool, tally, {}};
    return walk.CopySubfolders(
        EnterFolder(walk, source, destination, sourceIdentity),
        [&walk](const Subfolder& subfolder) { return EnterSubfolder(walk, subfolder); });
}

}  // namespace vestro
