#include "posix_tree_measure.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "file_system/path_text.h"
#include "posix_failure.h"
#include "tree_refusals.h"
#include "work_pool.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

struct ListingCloser {
    void operator()(DIR* listing) const { ::closedir(listing); }
};
using Listing = std::unique_ptr<DIR, ListingCloser>;

struct MeasureWalk {
    WorkPool& pool;
    const ItemPath& root;
    std::wstring rootReached;
    std::atomic<std::uint64_t> files{0};
    std::atomic<std::uint64_t> bytes{0};
};

std::error_code LastError() {
    return {errno, std::generic_category()};
}

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// A link to somewhere inside the tree is measured as a link; one that cannot be followed leads
// nowhere and is copied as it is.
Status RefuseOutwardLink(const MeasureWalk& walk, const ItemPath& link) {
    std::error_code unreachable;
    const std::wstring reached = ToPathText(fs::canonical(link.system, unreachable));
    if (unreachable || IsSameOrInside(reached, walk.rootReached)) {
        return Status::Success();
    }
    return LinkLeadsOutside(walk.root.display, link.display, reached);
}

// Lists one folder, looking up only the sizes of its files (relative to the open folder, no
// path walk); its subfolders are handed out, so that the folders are read side by side.
Status MeasureFolderContents(MeasureWalk& walk, const ItemPath& folder) {
    if (walk.pool.Stopped()) {
        return Status::Success();  // the failure that stopped it is the one reported
    }
    const Listing listing(::opendir(folder.system.c_str()));
    if (!listing) {
        return PosixFailure(LastError(), CouldNot(L"read the folder", folder.display));
    }
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing.get());
        if (entry == nullptr) {
            break;
        }
        if (IsDotEntry(entry->d_name)) {
            continue;
        }
        unsigned char type = entry->d_type;
        struct stat information {};
        // Some file systems leave the type out of the listing.
        if (type == DT_REG || type == DT_UNKNOWN) {
            if (::fstatat(::dirfd(listing.get()), entry->d_name, &information,
                          AT_SYMLINK_NOFOLLOW) != 0) {
                return PosixFailure(
                    LastError(), CouldNot(L"read the file", folder.Child(entry->d_name).display));
            }
            type = IFTODT(information.st_mode);
        }
        if (type == DT_DIR) {
            walk.pool.SubmitOrRunHere([&walk, subfolder = folder.Child(entry->d_name)] {
                return MeasureFolderContents(walk, subfolder);
            });
        } else if (type == DT_LNK) {
            if (Status status = RefuseOutwardLink(walk, folder.Child(entry->d_name));
                status.Failed()) {
                return status;
            }
        } else if (type == DT_REG) {
            ++files;
            bytes += static_cast<std::uint64_t>(information.st_size);
        }
    }
    if (errno != 0) {
        return PosixFailure(LastError(), CouldNot(L"read the folder", folder.display));
    }
    walk.files += files;
    walk.bytes += bytes;
    return Status::Success();
}

}  // namespace

FolderSize MeasureTree(const ItemPath& root, unsigned workers) {
    FolderSize size;
    std::error_code error;
    if (fs::exists(root.system, error) && !fs::is_directory(root.system, error)) {
        size.status = FileWhereFolderBelongs(root.display);
        return size;
    }
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop);
    MeasureWalk walk{pool, root, ToPathText(fs::canonical(root.system, error))};
    pool.RunHere([&walk, &root] { return MeasureFolderContents(walk, root); });
    size.status = pool.Finish();
    if (!size.status.Failed()) {
        size.files = walk.files;
        size.bytes = walk.bytes;
    }
    return size;
}

}  // namespace vestro
