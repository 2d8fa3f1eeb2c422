#include <atomic>
#include <cstdint>
#include <vector>

#include "file_system/path_text.h"
#include "tree_walks.h"
#include "work_pool.h"

namespace vestro {
namespace {

struct MeasureWalk {
    WorkPool& pool;
    const ItemPath& root;
    std::wstring rootReached;
    std::atomic<std::uint64_t> files{0};
    std::atomic<std::uint64_t> bytes{0};
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

// Lists one folder with the sizes of its files; its subfolders are handed out, so that the
// folders are read side by side.
Status MeasureFolderContents(MeasureWalk& walk, const ItemPath& folder) {
    if (walk.pool.Stopped()) {
        return Status::Success();  // the failure that stopped it is the one reported
    }
    std::vector<Item> items;
    if (const std::error_code error = OpenFolder().OpenAndList(folder, items, true)) {
        return SystemFailure(error, CouldNot(L"read the folder", folder.display));
    }
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    for (const Item& item : items) {
        if (item.kind == ItemKind::Folder) {
            walk.pool.SubmitOrRunHere([&walk, subfolder = folder.Child(item.name)] {
                return MeasureFolderContents(walk, subfolder);
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
        }
    }
    walk.files += files;
    walk.bytes += bytes;
    return Status::Success();
}

}  // namespace

Result<TreeSize> MeasureTree(const ItemPath& root, unsigned workers) {
    Result<TreeSize> size;
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
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop);
    MeasureWalk walk{pool, root, std::move(rootReached)};
    pool.RunHere([&walk, &root] { return MeasureFolderContents(walk, root); });
    size.status = pool.Finish();
    if (!size.status.Failed()) {
        size.value = {walk.files, walk.bytes};
    }
    return size;
}

}  // namespace vestro
