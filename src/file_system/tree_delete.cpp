#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "tree_walks.h"
#include "work_pool.h"

namespace vestro {
namespace {

// A folder of a tree being deleted by several workers. It goes when the last piece of its
// contents has gone, removed by whichever thread finished that piece; a piece that stayed keeps
// it and every folder above it, without a try that could only fail.
class FolderRemoval {
  public:
    FolderRemoval(std::shared_ptr<FolderRemoval> parent, std::function<Status()> remove)
        : parent_(std::move(parent)), remove_(std::move(remove)) {
        if (parent_) {
            parent_->pending_.fetch_add(1);
        }
    }

    // One piece is done: gone, or left behind. The folder's own listing counts as one from the
    // start. Returns the failure of a removal this caused.
    static Status Settle(std::shared_ptr<FolderRemoval> folder, bool left) {
        Status failure;
        while (folder) {
            if (left) {
                folder->contentsLeft_.store(true);
            }
            if (folder->pending_.fetch_sub(1) != 1) {
                break;
            }
            left = folder->contentsLeft_.load();
            if (!left) {
                failure = folder->remove_();
                left = failure.Failed();
            }
            folder = folder->parent_;
        }
        return failure;
    }

  private:
    std::shared_ptr<FolderRemoval> parent_;
    std::function<Status()> remove_;
    std::atomic<unsigned> pending_{1};
    std::atomic<bool> contentsLeft_{false};
};

struct DeleteWalk {
    WorkPool& pool;
    bool force = false;
    const HoldWait& wait;
};

Status DeleteFolderContents(DeleteWalk& walk, const ItemPath& folder,
                            const std::shared_ptr<FolderRemoval>& removal);

// A subfolder is a job of its own, listed and emptied by a worker, or at once by this thread
// when the queue is full: the cold listings of the old data are read side by side.
void HandOut(DeleteWalk& walk, ItemPath folder, Item item,
             const std::shared_ptr<FolderRemoval>& parent) {
    auto removal = std::make_shared<FolderRemoval>(parent, [&walk, folder, item] {
        return RemoveFolder(folder, item, walk.force, walk.wait, L"delete the folder");
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
        OpenUpForRemoval(folder, walk.force);
        OpenFolder open;  // closed before the folder's removal
        std::vector<Item> items;
        const std::error_code error = open.OpenAndList(folder, items, false);
        for (Item& item : items) {
            Status status;
            if (item.kind == ItemKind::Folder) {
                ItemPath subfolder = folder.Child(item.name);
                HandOut(walk, std::move(subfolder), std::move(item), removal);
            } else if (item.kind == ItemKind::FolderLink) {
                status = RemoveFolder(folder.Child(item.name), item, walk.force, walk.wait,
                                      L"delete the link");
            } else {
                status = RemoveItem(open, item, walk.force, walk.wait);
            }
            if (status.Failed()) {
                left = true;
                walk.pool.Fail(std::move(status));
            }
        }
        if (error) {
            left = true;
            walk.pool.Fail(SystemFailure(error, CouldNot(L"read the folder", folder.display)));
        }
    }
    return FolderRemoval::Settle(removal, left);
}

}  // namespace

Status DeleteTree(const ItemPath& root, bool force, unsigned workers, const HoldWait& wait) {
    Item item;
    const std::error_code error = ReadItem(root, item);
    if (error || item.kind == ItemKind::Missing) {
        return SystemFailure(error ? error : ErrorOf(Refusal::NotFound),
                             CouldNot(L"delete the folder", root.display));
    }
    if (item.kind == ItemKind::FolderLink) {
        return RemoveFolder(root, item, force, wait, L"delete the link");
    }
    if (item.kind != ItemKind::Folder) {
        return SystemFailure(ErrorOf(Refusal::NotAFolder),
                             CouldNot(L"delete the folder", root.display));
    }

    // Workers empty the folders side by side; a folder goes when its last piece has gone.
    // Memory holds a queue of folders and, per thread, the listings of the folders it is in.
    WorkPool pool(RemovalWorkers(workers), WorkPool::OnFailure::kContinue);
    DeleteWalk walk{pool, force, wait};
    auto removal = std::make_shared<FolderRemoval>(nullptr, [&root, &item, force, &wait] {
        return RemoveFolder(root, item, force, wait, L"delete the folder");
    });
    pool.RunHere([&walk, &root, &removal] { return DeleteFolderContents(walk, root, removal); });
    return pool.Finish();
}

}  // namespace vestro
