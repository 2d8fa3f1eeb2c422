#include "file_system/posix_tree_copy.h"

#include <cstdint>
#include <vector>

#include "file_system/posix_failure.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

struct OpenFolder {
    fs::directory_iterator listing;
    ItemPath source;
    ItemPath destination;
};

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

Status CopyOneFile(const ItemPath& source, const ItemPath& destination, bool overwrite) {
    // copy_file streams the content in the kernel and keeps the permission bits.
    std::error_code error;
    fs::copy_file(source.system, destination.system,
                  overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none, error);
    return error ? PosixFailure(error, CopyAction(L"copy the file", source, destination))
                 : Status::Success();
}

// A linked folder that leads back to a folder being copied would make the copy endless.
Status RefuseLoop(const std::vector<OpenFolder>& open, const ItemPath& link,
                  const ItemPath& destination) {
    for (const OpenFolder& folder : open) {
        std::error_code error;
        const bool same = fs::equivalent(link.system, folder.source.system, error);
        if (error) {
            return PosixFailure(error, CopyAction(L"copy the folder", link, destination));
        }
        if (same) {
            return PosixFailure(std::make_error_code(std::errc::too_many_symbolic_link_levels),
                                CopyAction(L"copy the folder", link, destination));
        }
    }
    return Status::Success();
}

Status OpenFolderListing(const ItemPath& source, const ItemPath& destination,
                         std::vector<OpenFolder>& open) {
    std::error_code error;
    fs::directory_iterator listing(source.system, error);
    if (error) {
        return PosixFailure(error, CouldNot(L"read the folder", source.display));
    }
    open.push_back({std::move(listing), source, destination});
    return Status::Success();
}

}  // namespace

Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress) {
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

    // One walk, deepest folder last in the list; memory grows with depth only.
    std::vector<OpenFolder> open;
    std::uint64_t bytesCopied = 0;
    if (Status status = OpenFolderListing(source, destination, open); status.Failed()) {
        return status;
    }
    while (!open.empty()) {
        OpenFolder& folder = open.back();
        if (folder.listing == fs::directory_iterator()) {
            open.pop_back();
            continue;
        }
        const fs::directory_entry entry = *folder.listing;
        folder.listing.increment(error);
        if (error) {
            return PosixFailure(error, CouldNot(L"read the folder", folder.source.display));
        }
        const fs::path name = entry.path().filename();
        const ItemPath from = folder.source.Child(name);
        const ItemPath to = folder.destination.Child(name);
        // The listing knows the type; only a symbolic link costs a look at its target.
        Status status;
        if (!entry.is_directory(error)) {
            status = CopyOneFile(from, to, overwrite);
            if (!status.Failed()) {
                bytesCopied += entry.file_size(error);
                if (progress) {
                    progress(bytesCopied);
                }
            }
        } else {
            if (entry.is_symlink(error)) {
                status = RefuseLoop(open, from, to);
            }
            if (!status.Failed()) {
                status = CreateFolder(to);
            }
            if (!status.Failed()) {
                status = OpenFolderListing(from, to, open);
            }
        }
        if (status.Failed()) {
            return status;
        }
    }
    return Status::Success();
}

FolderSize MeasureTree(const ItemPath& root) {
    FolderSize size;
    std::error_code error;
    fs::recursive_directory_iterator walk(root.system, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (walk->is_regular_file(error) && !walk->is_symlink(error)) {
            ++size.files;
            size.bytes += walk->file_size(error);
        }
    }
    if (error) {
        size.status = PosixFailure(error, CouldNot(L"read the folder", root.display));
    }
    return size;
}

}  // namespace vestro
