#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "file_pairing.h"
#include "tree_walks.h"
#include "work_pool.h"

namespace vestro {
namespace {

// The bytes copied by all workers together, told to the caller one call at a time: the count is
// raised and reported under one lock, so calls never overlap and never go down.
class ProgressTally {
  public:
    explicit ProgressTally(const CopyProgress& progress) : progress_(progress) {}

    void Add(std::uint64_t bytes) {
        if (!progress_) {
            return;
        }
        std::lock_guard lock(mutex_);
        bytesCopied_ += bytes;
        progress_(bytesCopied_);
    }

  private:
    const CopyProgress& progress_;
    std::mutex mutex_;
    std::uint64_t bytesCopied_ = 0;
};

using Identity = OpenFolder::Identity;

// Folders are entered depth first, one open folder per level with the subfolders it still has
// to copy, so memory grows with the tree's depth and width, never with its size. Entering a
// folder hands its files to the pool, which copy them relative to the folder they share.
struct CopyWalk {
    struct Level {
        std::shared_ptr<const OpenFolder> source;
        ItemPath destination;
        Identity identity;
        std::vector<Item> subfolders;  // still to copy, the next one last
        // The folder at the same place in the old data, when there is one to reuse files of.
        std::shared_ptr<const OpenFolder> previous;
        std::shared_ptr<const Counterparts> counterparts;
    };

    const ReadTree& tree;
    const ReadTree* previousTree = nullptr;
    const ItemPath& destinationRoot;
    Identity destinationIdentity;
    bool overwrite;
    const HoldWait& wait;
    WorkPool& pool;
    ProgressTally& tally;
    std::vector<Level> open;

    // Whether the folder is one the walk is inside: a link leading there would never end.
    bool IsOpen(const Identity& identity) const {
        return std::any_of(open.begin(), open.end(),
                           [&identity](const Level& level) { return level.identity == identity; });
    }
};

std::wstring CopyAction(std::wstring_view what, const ItemPath& source,
                        const ItemPath& destination) {
    return CouldNot(what, source.display) + L" to \"" + destination.display + L"\"";
}

Status ReadIdentity(const OpenFolder& folder, std::error_code opened, Identity& identity) {
    const std::error_code error = opened ? opened : folder.ReadIdentity(identity);
    return error ? SystemFailure(error, CouldNot(L"read the folder", folder.Path().display))
                 : Status::Success();
}

// Read only where it lies inside the tree, whatever stands at its path by now.
Status CheckPlace(const OpenFolder& folder, const ReadTree& tree) {
    Place place;
    if (const std::error_code error = folder.ReadPlace(place)) {
        return SystemFailure(error, CouldNot(L"read the folder", folder.Path().display));
    }
    return place.IsInside(tree.place)
               ? Status::Success()
               : LinkLeadsOutside(tree.root.display, folder.Path().display, folder.Shown());
}

// A case-sensitive source (Linux, or a folder with case sensitivity turned on) may hold names
// that would make one file on Windows, the second overwriting or stopping the first.
Status RefuseCaseDuplicates(const ItemPath& folder, const std::vector<Item>& items) {
    std::vector<std::wstring> names;  // one copy of the folder's names
    names.reserve(items.size());
    for (const Item& item : items) {
        names.push_back(item.name);
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& left, const std::wstring& right) {
        return CompareAsWindows(left, right) < 0;
    });
    const auto duplicate = std::adjacent_find(
        names.begin(), names.end(), [](const std::wstring& left, const std::wstring& right) {
            return CompareAsWindows(left, right) == 0;
        });
    if (duplicate == names.end()) {
        return Status::Success();
    }
    return Status::Failure(
        ErrorOf(Refusal::NameTaken),
        CouldNot(L"copy the folder", folder.display) + L": \"" + folder.Child(*duplicate).display +
            L"\" and \"" + folder.Child(*std::next(duplicate)).display +
            L"\" differ only in letter case, and Windows takes them for one name.");
}

Status CopyAndCount(const OpenFolder& folder, const Item& file, const ItemPath& destination,
                    const CopyWalk& walk) {
    std::uint64_t bytes = 0;
    Status status =
        CopyOneFile(folder, file, destination, walk.overwrite, walk.wait, walk.tree, bytes);
    if (!status.Failed()) {
        walk.tally.Add(bytes);
    }
    return status;
}

// A file the old data holds unchanged is made a second name of the old file, counted as its
// bytes were compared; any other is copied.
Status ReuseOrCopy(const FilePair& pair, const ItemPath& destination, const CopyWalk& walk) {
    if (ReuseWhenSame(pair, destination)) {
        walk.tally.Add(pair.file.size);
        return Status::Success();
    }
    return CopyAndCount(pair.folder, pair.file, destination, walk);
}

// The old folder's items, or none when it cannot be read: its files are then copied.
std::shared_ptr<const Counterparts> ListCounterparts(const OpenFolder* previous) {
    std::vector<Item> items;
    if (previous == nullptr || previous->List(items, true)) {
        items.clear();
    }
    return std::make_shared<const Counterparts>(std::move(items));
}

// One folder's files, or a share of a large folder's, copied by one worker. The workers then
// create files in different folders: in one folder they would take turns at its lock, and a job
// for each file would wake a worker for each, which costs more than copying a small file.
struct FileBatch {
    struct File {
        Item item;
        ItemPath destination;
        std::optional<Item> old;  // its counterpart, when the old data may hold it unchanged
    };
    std::vector<File> files;
    std::uint64_t bytes = 0;
};

// Large files are still copied side by side.
constexpr std::size_t kMostFilesPerBatch = 64;
constexpr std::uint64_t kMostBytesPerBatch = 1 << 20;

Status CopyBatch(const CopyWalk& walk, const OpenFolder& source, const OpenFolder* previous,
                 const FileBatch& batch) {
    for (const FileBatch::File& file : batch.files) {
        if (walk.pool.Stopped()) {
            break;  // another worker's failure ends the copy
        }
        Status status = file.old ? ReuseOrCopy({source, file.item, walk.tree, *previous, *file.old,
                                                *walk.previousTree},
                                               file.destination, walk)
                                 : CopyAndCount(source, file.item, file.destination, walk);
        if (status.Failed()) {
            return status;
        }
    }
    return Status::Success();
}

// Lists the whole folder first, so that names clashing on Windows stop the copy before any of
// them is copied; then hands its files out and keeps its subfolders for the walk.
Status EnterFolder(CopyWalk& walk, std::shared_ptr<const OpenFolder> source, ItemPath destination,
                   Identity identity, std::shared_ptr<const OpenFolder> previous) {
    std::vector<Item> items;
    // With sizes, which bound the batches and pair files with the old data's.
    if (const std::error_code error = source->List(items, true)) {
        return SystemFailure(error, CouldNot(L"read the folder", source->Path().display));
    }
    if (Status status = RefuseCaseDuplicates(source->Path(), items); status.Failed()) {
        return status;
    }
    std::shared_ptr<const Counterparts> counterparts = ListCounterparts(previous.get());
    CopyWalk::Level level{source, std::move(destination), identity,
                          {},     std::move(previous),    std::move(counterparts)};
    FileBatch batch;
    const auto handOut = [&walk, &level, &batch] {
        const bool handedOut = walk.pool.Submit(
            [&walk, source = level.source, previous = level.previous, batch = std::move(batch)] {
                return CopyBatch(walk, *source, previous.get(), batch);
            });
        batch = {};
        return handedOut;
    };
    for (Item& item : items) {
        if (item.kind == ItemKind::Folder || item.kind == ItemKind::FolderLink) {
            level.subfolders.push_back(std::move(item));
            continue;
        }
        ItemPath to = level.destination.Child(item.name);
        const Item* old = level.counterparts->Find(item.name);
        std::optional<Item> counterpart;
        if (old != nullptr && LooksSame(item, *old)) {
            counterpart = *old;
        }
        batch.bytes += item.size;
        batch.files.push_back({std::move(item), std::move(to), std::move(counterpart)});
        if ((batch.files.size() >= kMostFilesPerBatch || batch.bytes >= kMostBytesPerBatch) &&
            !handOut()) {
            return Status::Success();  // the pool holds the failure that stopped it
        }
    }
    if (!batch.files.empty() && !handOut()) {
        return Status::Success();
    }
    std::reverse(level.subfolders.begin(), level.subfolders.end());
    walk.open.push_back(std::move(level));
    return Status::Success();
}

// The old folder at the subfolder's place, opened as itself and lying inside the old data; none
// when there is no such plain folder there.
std::shared_ptr<const OpenFolder> OpenPrevious(const CopyWalk& walk, const CopyWalk::Level& parent,
                                               const Item& subfolder) {
    const Item* old = parent.counterparts->FindFolder(subfolder.name);
    if (old == nullptr) {
        return nullptr;
    }
    auto folder = std::make_shared<OpenFolder>();
    Place place;
    if (folder->OpenInside(*parent.previous, *old) || folder->ReadPlace(place) ||
        !place.IsInside(walk.previousTree->place)) {
        return nullptr;
    }
    return folder;
}

// A linked folder leading back to a folder being copied, or the walk reaching the destination
// (which lies inside the source), would make the copy endless.
Status EnterSubfolder(CopyWalk& walk, const Item& subfolder) {
    const CopyWalk::Level& parent = walk.open.back();
    auto folder = std::make_shared<OpenFolder>();
    Identity identity;
    if (Status status =
            ReadIdentity(*folder, folder->OpenInside(*parent.source, subfolder), identity);
        status.Failed()) {
        return status;
    }
    if (Status status = CheckPlace(*folder, walk.tree); status.Failed()) {
        return status;
    }
    const ItemPath& from = folder->Path();
    ItemPath to = parent.destination.Child(subfolder.name);
    if (identity == walk.destinationIdentity) {
        return Status::Failure(
            ErrorOf(Refusal::InvalidPath),
            CopyAction(L"copy the folder", from, to) + L": it is the copy's own destination \"" +
                walk.destinationRoot.display + L"\", which the copy must not enter.");
    }
    if (subfolder.kind == ItemKind::FolderLink && walk.IsOpen(identity)) {
        return SystemFailure(ErrorOf(Refusal::LinkLoop), CopyAction(L"copy the folder", from, to));
    }
    if (Status status = CreateFolder(to); status.Failed()) {
        return status;
    }
    return EnterFolder(walk, std::move(folder), std::move(to), identity,
                       OpenPrevious(walk, parent, subfolder));
}

}  // namespace

// The old data's root, as a plain folder (never a link), with the place its files must lie in.
std::shared_ptr<const OpenFolder> OpenPreviousRoot(const ItemPath* previous, ReadTree& tree) {
    Item root;
    auto folder = std::make_shared<OpenFolder>();
    if (previous == nullptr || ReadItem(*previous, root) || root.kind != ItemKind::Folder ||
        folder->Open(*previous) || folder->ReadPlace(tree.place)) {
        return nullptr;
    }
    return folder;
}

Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress, unsigned workers, const HoldWait& wait,
                const ItemPath* previous) {
    Item root;
    const std::error_code error = ReadItem(source, root);
    if (error || root.kind == ItemKind::Missing) {
        return SystemFailure(error ? error : ErrorOf(Refusal::NotFound),
                             CopyAction(L"copy the folder", source, destination));
    }
    if (root.kind != ItemKind::Folder && root.kind != ItemKind::FolderLink) {
        return SystemFailure(ErrorOf(Refusal::NotAFolder),
                             CopyAction(L"copy the folder", source, destination));
    }
    if (Status status = CreateFolder(destination); status.Failed()) {
        return status;
    }
    auto sourceFolder = std::make_shared<OpenFolder>();
    OpenFolder destinationFolder;
    Identity sourceIdentity;
    Identity destinationIdentity;
    if (Status status = ReadIdentity(*sourceFolder, sourceFolder->Open(source), sourceIdentity);
        status.Failed()) {
        return status;
    }
    if (Status status = ReadIdentity(destinationFolder, destinationFolder.Open(destination),
                                     destinationIdentity);
        status.Failed()) {
        return status;
    }
    ReadTree tree{source, {}};
    if (const std::error_code error = sourceFolder->ReadPlace(tree.place)) {
        return SystemFailure(error, CouldNot(L"read the folder", source.display));
    }
    if (sourceIdentity == destinationIdentity) {
        return Status::Failure(
            ErrorOf(Refusal::InvalidPath),
            CopyAction(L"copy the folder", source, destination) + L": they are the same folder.");
    }

    ProgressTally tally(progress);  // outlives the pool, whose workers report to it
    // A job is a folder's files: a few queued keep the workers busy.
    WorkPool pool(ChooseTreeWorkers(workers), WorkPool::OnFailure::kStop, 2);
    // Only where the old data lies is read of it; OpenPreviousRoot finds that out.
    ReadTree previousTree{source, {}};
    std::shared_ptr<const OpenFolder> previousRoot = OpenPreviousRoot(previous, previousTree);
    // The old data is read ahead while the copy writes: the walk would otherwise wait for each of
    // its folders to be read from disk in turn. Only a warmed cache comes of it, and it stops
    // with the copy.
    std::atomic<bool> copyEnded{false};
    std::future<void> readAhead;
    try {
        if (previousRoot) {
            readAhead = std::async(std::launch::async, [previous, workers, &copyEnded] {
                MeasureTree(*previous, workers, &copyEnded);
            });
        }
    } catch (const std::system_error&) {  // no thread to spare: the walk reads it itself
    }
    CopyWalk walk{tree, &previousTree, destination, destinationIdentity, overwrite, wait,
                  pool, tally,         {}};
    Status status = EnterFolder(walk, std::move(sourceFolder), destination, sourceIdentity,
                                std::move(previousRoot));
    while (!status.Failed() && !walk.open.empty() && !pool.Stopped()) {
        CopyWalk::Level& level = walk.open.back();
        if (level.subfolders.empty()) {
            walk.open.pop_back();
            continue;
        }
        const Item subfolder = std::move(level.subfolders.back());
        level.subfolders.pop_back();
        status = EnterSubfolder(walk, subfolder);
    }
    if (status.Failed()) {
        pool.Fail(std::move(status));
    }
    status = pool.Finish();
    copyEnded = true;
    return status;
}

}  // namespace vestro
