#pragma once

#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Where a replacement keeps the new copy until it is complete, and the old folder until the new
// one is in place. Both lie beside the target, so that the swap is a rename on one volume.
std::wstring StagingFolderFor(const std::wstring& targetDir);
std::wstring BackupFolderFor(const std::wstring& targetDir);

// Makes targetDir a copy of sourceDir. Whatever fails, targetDir afterwards holds either all of
// its old contents or all of the new ones, and the staging folder is gone. Leftovers of an
// interrupted earlier run are cleared first; an old folder set aside by it is put back.
Status ReplaceFolderWithCopy(FileSystem& fileSystem, const std::wstring& sourceDir,
                             const std::wstring& targetDir);

}  // namespace vestro
