#pragma once

#include <functional>
#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Fails, touching nothing, when the target is a link that this system cannot rename or remove
// without reaching through it into the folder it points to.
Status RefuseUnmovableLink(FileSystem& fileSystem, const std::wstring& targetDir);

// Clears what interrupted earlier runs left beside the target, under every name of every kind;
// to be called only while the replacement's lock is held. An old folder set aside while the
// target is missing is put back. A leftover that does not go at once is set aside under a fresh
// name rather than waited for, and folders set aside are removed as far as they go within one
// bound for waiting on held items. Only real folders under the replacement's own names are taken
// for its leftovers: a file or a link there is never removed, moved or gone through.
Status ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir);

// Takes the first name of the kind that is free for claim (a copy or a move to it): a name where
// something stands is passed over, and so is one where the claim finds something the system did
// not show (std::errc::file_exists). Gives the claim's own failure otherwise.
Status ClaimFreeName(FileSystem& fileSystem, const std::wstring& first, std::wstring& name,
                     const std::function<Status(const std::wstring& name)>& claim);

// Sets a folder aside under a fresh name without waiting for what holds it; when even that
// fails (Windows renames no folder with a file open inside), it stays where it is.
Status SetAside(FileSystem& fileSystem, const std::wstring& folder, const std::wstring& targetDir);

// The sentence that tells the user where the old data is when it could not be put back: the
// folder's full path, or the given text if even that cannot be found.
std::wstring OldDataIsNowIn(FileSystem& fileSystem, const std::wstring& backupDir);

}  // namespace vestro
