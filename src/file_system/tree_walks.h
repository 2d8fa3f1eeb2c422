#pragma once

#include <atomic>

#include "file_system/file_system.h"
#include "platform.h"

namespace vestro {

// The walks of a whole tree, written once over the platform's calls; each runs its folders or
// files on a work pool. workers: the threads (0: the machine's choice).

// Makes destination a copy of the whole tree of source; the contents of source arrive directly
// in destination, which may exist already. Linked folders are copied as the folders they point
// to; a link back to a folder that contains it fails the copy, and so does a destination inside
// the source (the walk would meet it) and a folder with names that differ only in letter case.
// The first failure stops the copy and is the one returned. progress, when set, hears the bytes
// copied after each file. With previous, a file that the file at the same place there equals is
// made a second name of that file instead (FileSystem::CopyFolderReusing).
Status CopyTree(const ItemPath& source, const ItemPath& destination, bool overwrite,
                const CopyProgress& progress, unsigned workers, const HoldWait& wait,
                const ItemPath* previous = nullptr);

// Removes the folder and everything in it, links as links; removes all it can, and returns the
// first failure. A link at root is removed as the link.
Status DeleteTree(const ItemPath& root, bool force, unsigned workers, const HoldWait& wait);

// Counts the files and their bytes; linked folders are not entered, and a link that leads out of
// the tree fails it. Once stop holds, no further folder is read.
Result<TreeSize> MeasureTree(const ItemPath& root, unsigned workers,
                             const std::atomic<bool>* stop = nullptr);
// The same, and what a copy reusing previous would write (FileSystem::MeasureCopy).
Result<CopySize> MeasureCopyTree(const ItemPath& root, const ItemPath* previous,
                                 std::uint64_t allocationUnit, unsigned workers,
                                 const std::atomic<bool>* stop = nullptr);

}  // namespace vestro
