#include "file_system/file_system.h"

#include <new>
#include <utility>

#include "tree_walks.h"

namespace vestro {
namespace {

// Every operation starts from the caller's text; what the system cannot take fails it before
// any call. Nothing throws past the interface: strings are the only things that allocate.
template <typename Result, typename Operation>
Result Guarded(const std::wstring& action, std::initializer_list<const std::wstring*> texts,
               Operation&& operation) {
    auto fail = [](Status status) {
        Result result{};
        if constexpr (std::is_same_v<Result, Status>) {
            result = std::move(status);
        } else {
            result.status = std::move(status);
        }
        return result;
    };
    try {
        ItemPath items[2];
        std::size_t count = 0;
        for (const std::wstring* text : texts) {
            if (const std::error_code error = ToItemPath(*text, items[count++])) {
                return fail(SystemFailure(error, action));
            }
        }
        return operation(items[0], items[1]);
    } catch (const std::bad_alloc&) {
        return fail(OutOfMemory());
    }
}

std::wstring FromTo(std::wstring_view what, const std::wstring& from, const std::wstring& to) {
    return CouldNot(what, from) + L" to \"" + to + L"\"";
}

Result<std::vector<std::wstring>> NamesIn(const ItemPath& folder, const ItemPath&) {
    Result<std::vector<std::wstring>> listed;
    std::vector<Item> items;
    if (const std::error_code error = OpenFolder().OpenAndList(folder, items, false)) {
        listed.status = SystemFailure(error, CouldNot(L"read the folder", folder.display));
    }
    for (Item& item : items) {
        listed.value.push_back(std::move(item.name));
    }
    return listed;
}

class SystemFileSystem final : public FileSystem {
  public:
    SystemFileSystem(TreeWorkers treeWorkers, HoldWait holdWait)
        : treeWorkers_(treeWorkers), holdWait_(std::move(holdWait)) {}

    Result<bool> FileExists(const std::wstring& path) override { return Exists(path, false); }

    Result<bool> FolderExists(const std::wstring& path) override { return Exists(path, true); }

    Status DeleteFolder(const std::wstring& path, bool force, StepHoldBound* step) override {
        return Guarded<Status>(CouldNot(L"delete the folder", path), {&path},
                               [&](const ItemPath& item, const ItemPath&) {
                                   return DeleteTree(item, force, treeWorkers_.removal,
                                                     WaitOfStep(step));
                               });
    }

    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override {
        return Guarded<Status>(
            FromTo(L"copy the folder", source, destination), {&source, &destination},
            [&](const ItemPath& from, const ItemPath& to) {
                return CopyTree(from, to, overwrite, progress, treeWorkers_.copy, holdWait_);
            });
    }

    Status CopyFolderReusing(const std::wstring& source, const std::wstring& destination,
                             const std::wstring& previous, const CopyProgress& progress) override {
        std::wstring action = FromTo(L"copy the folder", source, destination);
        return Guarded<Status>(
            action, {&source, &destination}, [&](const ItemPath& from, const ItemPath& to) {
                ItemPath old;
                if (const std::error_code error = ToItemPath(previous, old)) {
                    return SystemFailure(error, action);
                }
                return CopyTree(from, to, true, progress, treeWorkers_.copy, holdWait_, &old);
            });
    }

    Result<CopySize> MeasureCopy(const std::wstring& source, const std::wstring& previous,
                                 std::uint64_t allocationUnit) override {
        const bool none = previous.empty();
        return Guarded<Result<CopySize>>(
            CouldNot(L"read the folder", source), {&source, none ? &source : &previous},
            [&](const ItemPath& from, const ItemPath& old) {
                return MeasureCopyTree(from, none ? nullptr : &old, allocationUnit,
                                       treeWorkers_.copy);
            });
    }

    Result<VolumeSpace> FreeSpace(const std::wstring& folder) override {
        return Guarded<Result<VolumeSpace>>(
            CouldNot(L"read the free space of", folder), {&folder},
            [](const ItemPath& item, const ItemPath&) { return ReadVolumeSpace(item); });
    }

    Result<TreeSize> MeasureFolder(const std::wstring& path) override {
        return Guarded<Result<TreeSize>>(CouldNot(L"read the folder", path), {&path},
                                         [&](const ItemPath& item, const ItemPath&) {
                                             return MeasureTree(item, treeWorkers_.copy);
                                         });
    }

    Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                      StepHoldBound* step) override {
        return Guarded<Status>(FromTo(L"move the folder", source, destination),
                               {&source, &destination},
                               [&](const ItemPath& from, const ItemPath& to) {
                                   return MoveItem(from, to, WaitOfStep(step));
                               });
    }

    Result<std::wstring> ResolvePath(const std::wstring& path) override {
        return Guarded<Result<std::wstring>>(
            CouldNot(L"resolve the path", path), {&path},
            [](const ItemPath& item, const ItemPath&) { return ResolveItemPath(item); });
    }

    Result<std::vector<std::wstring>> ListNames(const std::wstring& folder) override {
        return Guarded<Result<std::vector<std::wstring>>>(CouldNot(L"read the folder", folder),
                                                          {&folder}, NamesIn);
    }

    Result<LinkKind> ProbeLink(const std::wstring& path) override {
        return Guarded<Result<LinkKind>>({}, {}, [&](const ItemPath&, const ItemPath&) {
            ItemPath item;
            return ToItemPath(path, item) ? Result<LinkKind>{} : ProbeLinkEntry(item);
        });
    }

    LockAcquisition LockExclusively(const std::wstring& path) override {
        return Guarded<LockAcquisition>(
            CouldNot(L"lock the file", path), {&path},
            [](const ItemPath& item, const ItemPath&) { return LockFileExclusively(item); });
    }

  private:
    // A probe fails only when the question cannot be asked at all.
    static Result<bool> Exists(const std::wstring& path, bool folder) {
        return Guarded<Result<bool>>({}, {}, [&](const ItemPath&, const ItemPath&) {
            return Result<bool>{ExistsAs(path, folder), Status::Success()};
        });
    }

    HoldWait WaitOfStep(StepHoldBound* step) const {
        HoldWait wait = holdWait_;
        wait.step = step;
        return wait;
    }

    const TreeWorkers treeWorkers_;
    const HoldWait holdWait_;
};

FileSystemCreation Create(TreeWorkers treeWorkers, HoldWait holdWait) {
    try {
        return {std::make_unique<SystemFileSystem>(treeWorkers, std::move(holdWait)),
                Status::Success()};
    } catch (const std::bad_alloc&) {
        return {nullptr, OutOfMemory()};
    }
}

}  // namespace

std::wstring CouldNot(std::wstring_view action, std::wstring_view path) {
    std::wstring text = L"Could not ";
    text.append(action).append(L" \"").append(path).append(L"\"");
    return text;
}

Status LinkLeadsOutside(std::wstring_view tree, std::wstring_view link, std::wstring_view target) {
    std::wstring text = L"Could not copy the folder \"";
    text.append(tree).append(L"\": \"").append(link).append(L"\" is a link to \"");
    text.append(target).append(L"\", which lies outside it. Nothing has been changed.");
    return Status::Failure(std::make_error_code(std::errc::operation_not_permitted),
                           std::move(text));
}

FileSystemCreation CreateFileSystem() {
    return Create({}, {});
}

FileSystemCreation CreateFileSystemWithTreeWorkers(TreeWorkers treeWorkers) {
    return Create(treeWorkers, {});
}

FileSystemCreation CreateFileSystemWithHoldWait(HoldWait holdWait) {
    return Create({}, std::move(holdWait));
}

}  // namespace vestro
