#pragma once

#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Fails, touching nothing, when the target or a leftover beside it is a link that this system
// cannot rename or remove without reaching through it into the folder it points to.
Status RefuseUnmovableLinks(FileSystem& fileSystem, const std::wstring& targetDir);

// Clears what an interrupted earlier run left beside the target; to be called only while the
// replacement's lock is held. An old folder set aside while the target is missing is put back;
// a leftover that cannot be removed is set aside under a fresh name, so that it blocks no copy.
Status ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir);

// The sentence that tells the user where the old data is when it could not be put back: the
// folder's full path, or the given text if even that cannot be found.
std::wstring OldDataIsNowIn(FileSystem& fileSystem, const std::wstring& backupDir);

}  // namespace vestro
