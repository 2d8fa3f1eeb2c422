#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "file_system/file_system.h"
#include "file_system/path_text.h"

// What the one file system asks of each platform: its system calls and the wording of their
// errors. posix_platform.cpp and win32_platform.cpp each hold one side; everything above this
// line of calls is written once.
namespace vestro {

#ifdef _WIN32
using SystemPath = std::wstring;  // the extended-length form, whatever the length
#else
using SystemPath = std::filesystem::path;
#endif

// An item as the system is asked about it and as failure descriptions name it (the caller's own
// text, with the names below it appended).
struct ItemPath {
    SystemPath system;
    std::wstring display;

    ItemPath Child(std::wstring_view name) const;
};

// The item the user's text names; fails for text that would make the system answer for another
// item (a zero character inside) or that names none.
std::error_code ToItemPath(const std::wstring& text, ItemPath& item);

// `Could not <action> "<path>"`: the start of every failure description.
std::wstring CouldNot(std::wstring_view action, std::wstring_view path);
// The action that could not be done, a colon and the system's reason:
// `Could not delete the folder "C:\x": Access is denied.`
Status SystemFailure(std::error_code error, const std::wstring& action);
// Strings are the only things that allocate; the description itself may not fit any more.
Status OutOfMemory() noexcept;

// The system's own codes for what the shared code refuses by itself.
enum class Refusal { NotAFolder, NotFound, NameTaken, LinkLoop, InvalidPath };
std::error_code ErrorOf(Refusal refusal);

// Whether the text names an existing file (or folder), links followed; text that names nothing
// is no failure.
bool ExistsAs(const std::wstring& text, bool folder);

enum class ItemKind {
    Missing,
    File,
    Folder,
    FolderLink,  // a link to a folder: never entered unless a copy asks to
    OtherLink    // a link to a file or to nothing
};

// An item as its folder's listing (or a look at the item itself) tells it, links not followed.
struct Item {
    std::wstring name;
    ItemKind kind = ItemKind::Missing;
    std::uint64_t size = 0;        // of a file, when asked for
    std::uint32_t attributes = 0;  // the system's own, which Windows keeps on a copy
    std::uint32_t reparseTag = 0;  // Windows: what kind of link
    std::int64_t lastWrite = 0;    // of a file, when sizes are asked for; in the system's units
};

std::error_code ReadItem(const ItemPath& path, Item& item);

// The attributes a copy of a file carries over.
extern const std::uint32_t kCopiedAttributes;

// Room to read a file of that size: all of a small file, a quarter MiB at a time of a large one.
// Made for each file, never kept per thread: MinGW can free a thread_local's storage before its
// destructor runs as the thread ends, and the worker then crashes.
inline std::vector<char> FileBuffer(std::uint64_t fileSize) {
    return std::vector<char>(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(fileSize, 4 * 1024, 256 * 1024)));
}

// Where an opened item lies as the system reached it, every link followed: its volume, and its
// path there.
struct Place {
    std::uint64_t volume = 0;
    std::wstring path;

    bool IsInside(const Place& tree) const {
        return volume == tree.volume && IsSameOrInside(path, tree.path);
    }
};

// Where the item of an open handle lies.
std::error_code ReadPlaceOf(std::intptr_t handle, Place& place);

// A tree a copy reads, and where it lies: nothing that lies elsewhere is read.
struct ReadTree {
    const ItemPath& root;
    Place place;
};

// Why a tree is not copied: an item inside it is a link that leads out of it. The program runs
// elevated, and a link like that in Data would carry other folders, or other users' files, into
// the client's.
Status LinkLeadsOutside(std::wstring_view tree, std::wstring_view link, std::wstring_view target);

// One folder, opened as itself (links followed), for a walk: listed through this handle, its
// files opened relative to it. Closed when it goes.
class OpenFolder {
  public:
    OpenFolder() = default;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // By path, links followed.
    std::error_code Open(ItemPath path);
    // A subfolder as its parent listed it, relative to the parent; a plain folder is never
    // reached through a link that took its place since.
    std::error_code OpenInside(const OpenFolder& parent, const Item& subfolder);
    const ItemPath& Path() const { return path_; }
    std::intptr_t Handle() const { return handle_; }

    // Every item but "." and "..". Sizes only when asked: some systems look each file up for it.
    std::error_code List(std::vector<Item>& items, bool withSizes) const;
    std::error_code OpenAndList(ItemPath path, std::vector<Item>& items, bool withSizes) {
        std::error_code error = Open(std::move(path));
        return error ? error : List(items, withSizes);
    }

    // Volume and index, equal for every path that reaches the folder.
    struct Identity {
        std::uint64_t volume = 0;
        std::uint64_t index = 0;
        bool operator==(const Identity&) const = default;
    };
    std::error_code ReadIdentity(Identity& identity) const;

    // Read once, and kept.
    std::error_code ReadPlace(Place& place) const {
        const std::error_code error =
            place_.path.empty() ? ReadPlaceOf(handle_, place_) : std::error_code();
        place = place_;
        return error;
    }
    // The folder's path as a user would look for it, for failure descriptions.
    std::wstring Shown() const;

  private:
    ItemPath path_;
    std::intptr_t handle_ = -1;
    mutable Place place_;
};

// A folder new or already there; new folders get the usual permissions, not the source's, so a
// copy of a read-only folder can still be filled and removed.
Status CreateFolder(const ItemPath& folder);

// Copies one file of the folder to destination, keeping its content, permissions and last-write
// time; bytes tells what was written. The file is read only where it lies inside the tree: a link
// to elsewhere, there since the listing or swapped in after it, fails the copy. Waits for holds
// as wait says.
Status CopyOneFile(const OpenFolder& folder, const Item& file, const ItemPath& destination,
                   bool overwrite, const HoldWait& wait, const ReadTree& tree,
                   std::uint64_t& bytes);

// A plain file of a walked folder, opened to be read as itself: never through a link, and only
// where it lies inside the tree. Nobody writes to it while it is open. Closed when it goes.
class FileReader {
  public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    std::error_code Open(const OpenFolder& folder, const Item& file, const ReadTree& tree);
    // Up to size bytes; none at the end.
    std::error_code Read(char* buffer, std::size_t size, std::size_t& read);
    // Makes destination, where nothing stands yet, a second name of this very file; leaves
    // nothing there when it fails.
    std::error_code LinkAs(const ItemPath& destination) const;

  private:
    ItemPath path_;
    std::intptr_t handle_ = -1;
};

// Where the folder lies, the room its user may still fill there, and the unit the room is
// handed out in.
Result<VolumeSpace> ReadVolumeSpace(const ItemPath& folder);

// Lets the folder's items go (natively, a read-only folder keeps its items) when force asks.
void OpenUpForRemoval(const ItemPath& folder, bool force);
// Threads for a tree's removal: requested, or the machine's choice for this system's deletes.
unsigned RemovalWorkers(unsigned requested);
// Removes a file of the folder, or a link as the link itself, never what it leads to.
Status RemoveItem(const OpenFolder& folder, const Item& item, bool force, const HoldWait& wait);
// Removes an empty folder, or a link to a folder as the link; what names the action.
Status RemoveFolder(const ItemPath& folder, const Item& item, bool force, const HoldWait& wait,
                    std::wstring_view what);

// The absolute path the system reaches, every link followed.
std::error_code PathReached(const ItemPath& item, std::wstring& reached);

// Orders names as Windows does with case ignored.
std::weak_ordering CompareAsWindows(const std::wstring& left, const std::wstring& right);

Status MoveItem(const ItemPath& from, const ItemPath& to, const HoldWait& wait);
Result<std::wstring> ResolveItemPath(const ItemPath& item);
Result<LinkKind> ProbeLinkEntry(const ItemPath& entry);
LockAcquisition LockFileExclusively(const ItemPath& file);

}  // namespace vestro
