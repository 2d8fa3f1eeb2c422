#include "file_pairing.h"

#include <algorithm>
#include <cstring>

namespace vestro {

Counterparts::Counterparts(std::vector<Item> items) : items_(std::move(items)) {
    std::sort(items_.begin(), items_.end(), [](const Item& left, const Item& right) {
        return CompareAsWindows(left.name, right.name) < 0;
    });
}

const Item* Counterparts::Find(const std::wstring& name) const {
    const auto found = std::lower_bound(items_.begin(), items_.end(), name,
                                        [](const Item& item, const std::wstring& wanted) {
                                            return CompareAsWindows(item.name, wanted) < 0;
                                        });
    return found != items_.end() && CompareAsWindows(found->name, name) == 0 ? &*found : nullptr;
}

const Item* Counterparts::FindFolder(const std::wstring& name) const {
    const Item* item = Find(name);
    return item != nullptr && item->kind == ItemKind::Folder ? item : nullptr;
}

bool LooksSame(const Item& file, const Item& old) {
    return file.kind == ItemKind::File && old.kind == ItemKind::File && file.size == old.size &&
           file.lastWrite == old.lastWrite &&
           (file.attributes & kCopiedAttributes) == (old.attributes & kCopiedAttributes);
}

namespace {

// A file read whole in one call but at its end; a short read of either side anywhere else
// only makes the file copied.
bool SameBytes(FileReader& left, FileReader& right, std::uint64_t size) {
    std::vector<char> leftBuffer = FileBuffer(size);
    std::vector<char> rightBuffer = FileBuffer(size);
    for (;;) {
        std::size_t leftRead = 0;
        std::size_t rightRead = 0;
        if (left.Read(leftBuffer.data(), leftBuffer.size(), leftRead) ||
            right.Read(rightBuffer.data(), rightBuffer.size(), rightRead) ||
            leftRead != rightRead ||
            std::memcmp(leftBuffer.data(), rightBuffer.data(), leftRead) != 0) {
            return false;
        }
        if (leftRead == 0) {
            return true;
        }
    }
}

}  // namespace

bool ReuseWhenSame(const FilePair& pair, const ItemPath& destination) {
    FileReader file;
    FileReader old;
    return !file.Open(pair.folder, pair.file, pair.tree) &&
           !old.Open(pair.oldFolder, pair.old, pair.oldTree) &&
           SameBytes(file, old, pair.file.size) && !old.LinkAs(destination);
}

}  // namespace vestro
