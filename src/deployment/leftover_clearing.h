#pragma once

#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Fails, touching nothing, when the target is a link that this system cannot rename or remove
// without reaching through it into the folder it points to.
Status RefuseUnmovableLink(FileSystem& fileSystem, const std::wstring& targetDir);

// The folders one replacement works with beside the target.
struct ReplacementFolders {
    std::wstring staging;  // free: nothing stands there
    std::wstring backup;   // free; where an interrupted run sets the old folder aside
    Status status;
};

// Clears what an interrupted earlier run left beside the target; to be called only while the
// replacement's lock is held. An old folder set aside while the target is missing is put back;
// a leftover that cannot be removed is set aside under a fresh name, so that it blocks no copy.
// Only real folders under the replacement's own names are taken for its leftovers: a file or a
// link there is never removed, moved or gone through, and the next name of its kind is used.
ReplacementFolders ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir);

// The sentence that tells the user where the old data is when it could not be put back: the
// folder's full path, or the given text if even that cannot be found.
std::wstring OldDataIsNowIn(FileSystem& fileSystem, const std::wstring& backupDir);

}  // namespace vestro
