#pragma once

#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Fails, touching nothing, when the target is the source or lies inside it, or the source lies
// inside the target or any item the replacement keeps beside it: the copy would walk into
// its own staging folder, or the swap would move the source away. Folders are compared as the
// system reaches them, so no other spelling of the same folder gets past.
Status RefuseNesting(FileSystem& fileSystem, const std::wstring& sourceDir,
                     const std::wstring& targetDir);

}  // namespace vestro
