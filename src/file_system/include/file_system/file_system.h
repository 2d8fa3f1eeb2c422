#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hold_wait.h"
#include "status.h"

namespace vestro {

// Told how many bytes of file content a copy has written so far. Calls never overlap and the
// count never goes down, whichever thread makes them.
using CopyProgress = std::function<void(std::uint64_t bytesCopied)>;

// The files of a tree and the bytes they hold.
struct TreeSize {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

// What a copy that reuses an earlier copy's files still has to write: the files it will copy
// and their bytes, each file rounded up to the allocation unit it was measured for.
struct CopySize {
    TreeSize source;
    std::uint64_t folders = 0;
    std::uint64_t filesToWrite = 0;
    std::uint64_t bytesToWrite = 0;
};

// The volume a folder lies on, as a user names it (C:\, or a mount point), the bytes its user
// may still write there and the unit they are handed out in.
struct VolumeSpace {
    std::wstring volume;
    std::uint64_t available = 0;
    std::uint64_t allocationUnit = 1;
};

// What an entry is by itself, links not followed.
enum class LinkKind {
    None,               // a folder, a file, or nothing at all
    Link,               // a link that can be renamed and removed as the link itself
    LinkThatCannotMove  // a link that no call here renames or removes without reaching through it
};

// Held while it lives; released when destroyed, and by the system when the process ends.
class ExclusiveLock {
  public:
    virtual ~ExclusiveLock() = default;
};

// The lock, or the failure; of a failure also whether another holder has the lock, and whether
// something that is no lock file stands at the path (a folder, a link): left alone, and another
// name is to be used.
struct LockAcquisition : Result<std::unique_ptr<ExclusiveLock>> {
    bool heldElsewhere = false;
    bool nameTaken = false;
};

// The file-system services the program relies on. Paths are the user's text in the platform's
// syntax; implementations never throw and describe every failure in words. An item another
// program holds for a moment is waited for, about 10 seconds at most; a hold that lasts fails,
// naming the programs that hold it as far as the system tells.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True only for an existing file (never for a folder). Does not fail for ordinary text.
    virtual Result<bool> FileExists(const std::wstring& path) = 0;
    // True only for an existing folder (never for a file). Does not fail for ordinary text.
    virtual Result<bool> FolderExists(const std::wstring& path) = 0;
    // Removes the folder and everything in it. With force, read-only items go too. Links inside
    // are removed as links; the folders they point to are never entered. A missing folder fails.
    // Held items are waited for within the step's bound when one is given.
    virtual Status DeleteFolder(const std::wstring& path, bool force,
                                StepHoldBound* step = nullptr) = 0;
    // Creates destination as a copy of the whole tree of source; the contents of source arrive
    // directly in destination. With overwrite, existing files of the same name are replaced.
    // Linked folders inside are copied as the folders they point to; a link that leads back into
    // the tree fails the copy, and so does anything that lies outside the tree, however it is
    // reached, checked when it is read. What was copied before a failure stays.
    virtual Status CopyFolder(const std::wstring& source, const std::wstring& destination,
                              bool overwrite, const CopyProgress& progress = {}) = 0;
    // As CopyFolder into a new destination; a file of source that the file at the same place in
    // previous equals (a plain file, no link, with the same size, last-write time, attributes and
    // bytes, compared by reading both) becomes a second name of that file instead of a copy, so
    // previous is not changed. Where no such name can be made, the file is copied.
    virtual Status CopyFolderReusing(const std::wstring& source, const std::wstring& destination,
                                     const std::wstring& previous,
                                     const CopyProgress& progress = {}) = 0;
    // As MeasureFolder, and what CopyFolderReusing would write: files whose counterpart in
    // previous differs in size, last-write time or attributes (their bytes are not read here).
    // An empty previous: no old data, every file written.
    virtual Result<CopySize> MeasureCopy(const std::wstring& source, const std::wstring& previous,
                                         std::uint64_t allocationUnit) = 0;
    // The space left on the volume of the folder.
    virtual Result<VolumeSpace> FreeSpace(const std::wstring& folder) = 0;
    // The files of the whole tree and the bytes they hold. Linked folders are not entered, so a
    // tree that holds links may copy more than this. Fails, naming the link and where it leads,
    // when a link inside leads out of the tree: a copy would carry what lies there along.
    virtual Result<TreeSize> MeasureFolder(const std::wstring& path) = 0;
    // Renames a folder, or a link as the link itself, to a path where nothing stands yet, on the
    // same volume. Something standing there fails it with std::errc::file_exists, also when the
    // system shows nothing there (Wine's link that leads nowhere). Held items as DeleteFolder.
    virtual Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                              StepHoldBound* step = nullptr) = 0;
    // The absolute path of the item as the system reaches it: links, short names, letter case,
    // "." and ".." and the drive resolved for the nearest existing folder on the way, the names
    // below it appended as given. Two spellings of one folder give the same text.
    virtual Result<std::wstring> ResolvePath(const std::wstring& path) = 0;
    // The names of the entries in the folder, links not followed, in no particular order.
    virtual Result<std::vector<std::wstring>> ListNames(const std::wstring& folder) = 0;
    // Whether the entry at path is itself a link (to a folder, a file or nothing), and whether it
    // can be handled as one.
    virtual Result<LinkKind> ProbeLink(const std::wstring& path) = 0;
    // Creates the file at path new and holds it exclusively, against other threads and processes
    // alike; fails at once (heldElsewhere) when another holds it. A file that stands there is
    // taken only when it is a lock file left by a copy that has ended: a plain file with a single
    // name carrying the holder's mark, checked without opening it for writing. Anything else there
    // (a folder, a link, another file, a second name of a file) is left as it is (nameTaken).
    // The file goes with the lock. A failure to create it in a folder that takes no new files
    // says so of the folder.
    virtual LockAcquisition LockExclusively(const std::wstring& path) = 0;
};

// A new service object for this platform, or the failure that kept one from being made.
using FileSystemCreation = Result<std::unique_ptr<FileSystem>>;

FileSystemCreation CreateFileSystem();

// Threads for copying and for deleting trees; 0 leaves the number to the machine.
struct TreeWorkers {
    unsigned copy = 0;
    unsigned removal = 0;
};

// The same with chosen numbers of tree workers, for measuring.
FileSystemCreation CreateFileSystemWithTreeWorkers(TreeWorkers treeWorkers);

// The same with another wait for items other programs hold, for tests.
FileSystemCreation CreateFileSystemWithHoldWait(HoldWait holdWait);

}  // namespace vestro
