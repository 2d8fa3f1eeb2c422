#include "posix_tree_delete.h"

#include <memory>

#include "folder_removal.h"
#include "posix_failure.h"
#include "work_pool.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

// With discard on (as on many SSD and virtual disks), ext4 without a journal tells the disk of a
// file's freed blocks inside the unlink, and the thread waits for it: deletes wait side by side.
constexpr unsigned kDeleteWorkersPerCore = 16;
constexpr unsigned kMostDeleteWorkers = 32;

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

// Removing an entry needs write and search permission on its folder, not on the entry; a
// read-only folder is opened up first so that this works without root's privileges too.
void OpenUp(const ItemPath& folder, bool force) {
    if (force) {
        std::error_code ignored;  // the removal that follows reports what still stands in the way
        fs::permissions(folder.system, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

Status RemoveEntry(const ItemPath& item, std::wstring_view what) {
    std::error_code error;
    fs::remove(item.system, error);
    return error ? PosixFailure(error, CouldNot(what, item.display)) : Status::Success();
}

Status RemoveFile(const ItemPath& file, bool force) {
    if (!force) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(file.system, error);
        if (!error && (status.permissions() & kAnyWrite) == fs::perms::none) {
            return PosixFailure(std::make_error_code(std::errc::permission_denied),
                                CouldNot(L"delete the file", file.display));
        }
    }
    return RemoveEntry(file, L"delete the file");
}

struct DeleteWalk {
    WorkPool& pool;
    bool force = false;
};

Status DeleteFolderContents(DeleteWalk& walk, const ItemPath& folder,
                            const std::shared_ptr<FolderRemoval>& removal);

// A subfolder is a job of its own, listed and emptied by a worker, or at once by this thread
// when the queue is full: the cold listings of the old data are read side by side.
void HandOut(DeleteWalk& walk, ItemPath folder, const std::shared_ptr<FolderRemoval>& parent) {
    auto removal = std::make_shared<FolderRemoval>(
        parent, [folder] { return RemoveEntry(folder, L"delete the folder"); });
    walk.pool.SubmitOrRunHere([&walk, folder = std::move(folder), removal] {
        return DeleteFolderContents(walk, folder, removal);
    });
}

// Removes the folder's files and links itself and hands its subfolders out; then settles the
// folder, which goes once its subfolders have gone too.
Status DeleteFolderContents(DeleteWalk& walk, const ItemPath& folder,
                            const std::shared_ptr<FolderRemoval>& removal) {
    OpenUp(folder, walk.force);
    bool left = false;
    std::error_code error;
    fs::directory_iterator listing(folder.system, error);
    for (; !error && listing != fs::directory_iterator(); listing.increment(error)) {
        ItemPath item = folder.Child(listing->path().filename());
        // The entry's type comes from the listing itself; symlinks are never followed here.
        Status status;
        if (listing->is_symlink(error)) {
            status = RemoveEntry(item, L"delete the link");
        } else if (listing->is_directory(error)) {
            HandOut(walk, std::move(item), removal);
        } else {
            status = RemoveFile(item, walk.force);
        }
        if (status.Failed()) {
            left = true;
            walk.pool.Fail(std::move(status));
        }
    }
    if (error) {
        left = true;
        walk.pool.Fail(PosixFailure(error, CouldNot(L"read the folder", folder.display)));
    }
    return FolderRemoval::Settle(removal, left);
}

}  // namespace

Status DeleteTree(const ItemPath& root, bool force, unsigned workers) {
    std::error_code error;
    const fs::file_status rootStatus = fs::symlink_status(root.system, error);
    if (error) {
        return PosixFailure(error, CouldNot(L"delete the folder", root.display));
    }
    if (fs::is_symlink(rootStatus)) {
        if (!fs::is_directory(fs::status(root.system, error))) {
            return PosixFailure(std::make_error_code(std::errc::not_a_directory),
                                CouldNot(L"delete the folder", root.display));
        }
        return RemoveEntry(root, L"delete the link");
    }
    if (!fs::is_directory(rootStatus)) {
        return PosixFailure(std::make_error_code(std::errc::not_a_directory),
                            CouldNot(L"delete the folder", root.display));
    }

    // Workers empty the folders side by side; a folder goes when its last piece has gone.
    // Memory holds a queue of folders and, per thread, the listings of the folders it is in.
    WorkPool pool(ChooseTreeWorkers(workers, kDeleteWorkersPerCore, kMostDeleteWorkers),
                  WorkPool::OnFailure::kContinue);
    DeleteWalk walk{pool, force};
    auto removal = std::make_shared<FolderRemoval>(
        nullptr, [&root] { return RemoveEntry(root, L"delete the folder"); });
    pool.RunHere([&walk, &root, &removal] { return DeleteFolderContents(walk, root, removal); });
    return pool.Finish();
}

}  // namespace vestro
