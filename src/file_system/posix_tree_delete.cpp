#include "file_system/posix_tree_delete.h"

#include <vector>

#include "file_system/posix_failure.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

struct OpenFolder {
    fs::directory_iterator listing;
    ItemPath path;
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

Status OpenFolderListing(const ItemPath& folder, bool force, std::vector<OpenFolder>& open) {
    OpenUp(folder, force);
    std::error_code error;
    fs::directory_iterator listing(folder.system, error);
    if (error) {
        return PosixFailure(error, CouldNot(L"read the folder", folder.display));
    }
    open.push_back({std::move(listing), folder});
    return Status::Success();
}

}  // namespace

Status DeleteTree(const ItemPath& root, bool force) {
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

    // One walk, deepest folder last in the list; memory grows with depth only.
    std::vector<OpenFolder> open;
    if (Status status = OpenFolderListing(root, force, open); status.Failed()) {
        return status;
    }
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        if (folder.listing == fs::directory_iterator()) {
            const ItemPath emptied = std::move(folder.path);
            open.pop_back();
            if (Status status = RemoveEntry(emptied, L"delete the folder"); status.Failed()) {
                return status;
            }
            continue;
        }
        const fs::directory_entry entry = *folder.listing;
        folder.listing.increment(error);
        if (error) {
            return PosixFailure(error, CouldNot(L"read the folder", folder.path.display));
        }
        const ItemPath item = folder.path.Child(entry.path().filename());
        // The entry's type comes from the listing itself; symlinks are never followed here.
        Status status;
        if (entry.is_symlink(error)) {
            status = RemoveEntry(item, L"delete the link");
        } else if (entry.is_directory(error)) {
            status = OpenFolderListing(item, force, open);
        } else {
            status = RemoveFile(item, force);
        }
        if (status.Failed()) {
            return status;
        }
    }
    return Status::Success();
}

}  // namespace vestro
