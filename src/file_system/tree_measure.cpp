#include <atomic>
#include <cstdint>
#include <vector>

#include "file_pairing.h"
#include "file_system/path_text.h"
#include "tree_walks.h"
#include "work_pool.h"

namespace vestro {
namespace {

struct MeasureWalk {
    WorkPool& pool;
    const ItemPath& root;
    std::wstring rootReached;
    std::uint64_t allocationUnit = 1;
    const std::atomic<bool>* stop = nullptr;
    std::atomic<std::uint64_t> files{0};
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<std::uint64_t> folders{0};
    std::atomic<std::uint64_t> filesToWrite{0};
    std::atomic<std::uint64_t> bytesToWrite{0};
};

// The program runs elevated, and a link in Data that leads out of it would carry other folders,
// or other users' files, into the client's. A link to somewhere inside is measured as a link.
Status RefuseOutwardLink(const MeasureWalk& walk, const ItemPath& link) {
    std::wstring reached;
    if (const std::error_code error = PathReached(link, reached)) {
        return SystemFailure(error, CouldNot(L"read the link", link.display));
    }
    if (IsSameOrInside(reached, walk.rootReached)) {
        return Status::Success();
    }
    return LinkLeadsOutside(walk.root.display, link.display, reached);
}

std::uint64_t RoundedUp(std::uint64_t bytes, std::uint64_t unit) {
    return bytes % unit == 0 ? bytes : bytes + (unit - bytes % unit);
}

// The old folder at the same place, listed; an old folder that cannot be read offers nothing.
Counterparts ListCounterparts(const ItemPath* previous) {
    std::vector<Item> items;
    if (previous != nullptr && OpenFolder().OpenAndList(*previous, items, true)) {
        items.clear();
    }
    return Counterparts(std::move(items));
}

// Lists one folder with the sizes of its files, and its counterpart in the old data when there
// is one; its subfolders are handed out, so that the folders are read side by side.
Status MeasureFolderContents(MeasureWalk& walk, const ItemPath& folder,
                             const std::shared_ptr<const ItemPath>& previous) {
    if (walk.pool.Stopped() || (walk.stop != nullptr && *walk.stop)) {
        return Status::Success();  // the failure that stopped it is the one reported
    }
    std::vector<Item> items;
    if (const std::error_code error = OpenFolder().OpenAndList(folder, items, true)) {
        return SystemFailure(error, CouldNot(L"read the folder", folder.display));
    }
    const Counterparts counterparts = ListCounterparts(previous.get());
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    std::uint64_t filesToWrite = 0;
    std::uint64_t bytesToWrite = 0;
    for (const Item& item : items) {
        if (item.kind == ItemKind::Folder) {
            ++walk.folders;
            std::shared_ptr<const ItemPath> old;
            if (counterparts.FindFolder(item.name) != nullptr) {
                old = std::make_shared<const ItemPath>(previous->Child(item.name));
            }
            walk.pool.SubmitOrRunHere([&walk, subfolder = folder.Child(item.name), old] {
                return MeasureFolderContents(walk, subfolder, old);
            });
            continue;
        }
        if (item.kind != ItemKind::File) {
            if (Status status = RefuseOutwardLink(walk, folder.Child(item.name)); status.Failed()) {
                return status;
            }
        }
        if (item.kind != ItemKind::FolderLink) {
            ++files;
            bytes += item.size;
            const Item* old = counterparts.Find(item.name);
            if (old == nullptr || !LooksSame(item, *old)) {
                ++filesToWrite;
                bytesToWrite += RoundedUp(item.size, walk.allocationUnit);
            }
        }
    }
    walk.files += files;
    walk.bytes += bytes;
    walk.filesToWrite += filesToWrite;
    walk.bytesToWrite += bytesToWrite;
    return Status::Success();
}

}  // namespace

Result<CopySize> MeasureCopyTree(const ItemPath& root, const ItemPath* previous,
                                 std::uint64_t allocationUnit, unsigned workers,
                                 const std::atomic<bool>* stop) {
    Result<CopySize> size;
    Item item;
    if (!ReadItem(root, item) &&
        (item.kind == ItemKind::File || item.kind == ItemKind::OtherLink)) {
        size.status = Status::Failure(
            std::make_error_code(std::errc::not_a_directory),
            L"Could not read the folder \"" + root.display + L"\": it is a file, not a folder.");
        return size;
    }
    std::wstring rootReached;
    if (const std::error_code error = PathReached(root, rootReached)) {
        size.status = SystemFailure(error, CouldNot(L"read the folder", root.display));
        return size;
    }
    // Old data reached through a link is no old data of this copy.
    Item old;
    std::shared_ptr<const ItemPath> oldRoot;
    if (previous != nullptr && !ReadItem(*previous, old) && old.kind == ItemKind::Folder) {
        oldRoot = std::make_shared<const ItemPath>(*previous);
    }
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop);
    MeasureWalk walk{pool, root, std::move(rootReached), std::max<std::uint64_t>(allocationUnit, 1),
                     stop};
    pool.RunHere([&walk, &root, &oldRoot] { return MeasureFolderContents(walk, root, oldRoot); });
    size.status = pool.Finish();
    if (!size.status.Failed()) {
        size.value = {{walk.files, walk.bytes}, walk.folders, walk.filesToWrite, walk.bytesToWrite};
    }
    return size;
}

Result<TreeSize> MeasureTree(const ItemPath& root, unsigned workers,
                             const std::atomic<bool>* stop) {
    const Result<CopySize> size = MeasureCopyTree(root, nullptr, 1, workers, stop);
    return {size.value.source, size.status};
}

}  // namespace vestro
