#include "file_system/posix_tree_delete.h"

#include <memory>
#include <vector>

#include "file_system/folder_removal.h"
#include "file_system/posix_failure.h"
#include "file_system/work_pool.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

struct OpenFolder {
    fs::directory_iterator listing;
    ItemPath path;
    std::shared_ptr<FolderRemoval> removal;
};

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

// A file or link is removed by a worker, which then settles its folder.
void HandOut(WorkPool& pool, const std::shared_ptr<FolderRemoval>& folder, ItemPath item, bool link,
             bool force) {
    folder->Expect();
    pool.Submit([folder, item = std::move(item), link, force] {
        Status status = link ? RemoveEntry(item, L"delete the link") : RemoveFile(item, force);
        Status removal = FolderRemoval::Settle(folder, status.Failed());
        return status.Failed() ? status : removal;
    });
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

    // One walk, deepest folder last in the list: memory grows with depth only. Workers remove
    // the files; a folder goes when its last piece has gone. A failure stops nothing else.
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kContinue);
    std::vector<OpenFolder> open;
    const auto enter = [&](ItemPath folder, std::shared_ptr<FolderRemoval> parent) {
        OpenUp(folder, force);
        auto removal = std::make_shared<FolderRemoval>(
            std::move(parent), [folder] { return RemoveEntry(folder, L"delete the folder"); });
        fs::directory_iterator listing(folder.system, error);
        if (error) {
            pool.Fail(PosixFailure(error, CouldNot(L"read the folder", folder.display)));
            pool.Fail(FolderRemoval::Settle(std::move(removal), true));
            return;
        }
        open.push_back({std::move(listing), std::move(folder), std::move(removal)});
    };
    enter(root, nullptr);
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        if (folder.listing == fs::directory_iterator()) {
            std::shared_ptr<FolderRemoval> removal = std::move(folder.removal);
            open.pop_back();
            pool.Fail(FolderRemoval::Settle(std::move(removal), false));
            continue;
        }
        const fs::directory_entry entry = *folder.listing;
        folder.listing.increment(error);
        if (error) {
            pool.Fail(PosixFailure(error, CouldNot(L"read the folder", folder.path.display)));
            std::shared_ptr<FolderRemoval> removal = std::move(folder.removal);
            open.pop_back();
            pool.Fail(FolderRemoval::Settle(std::move(removal), true));
            continue;
        }
        ItemPath item = folder.path.Child(entry.path().filename());
        // The entry's type comes from the listing itself; symlinks are never followed here.
        if (entry.is_symlink(error)) {
            HandOut(pool, folder.removal, std::move(item), true, force);
        } else if (entry.is_directory(error)) {
            std::shared_ptr<FolderRemoval> parent = folder.removal;
            enter(std::move(item), std::move(parent));  // folder may move: not used after
        } else {
            HandOut(pool, folder.removal, std::move(item), false, force);
        }
    }
    return pool.Finish();
}

}  // namespace vestro
