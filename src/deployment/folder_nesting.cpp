#include "folder_nesting.h"

#include <system_error>

#include "deployment/staged_replacement.h"
#include "file_system/path_text.h"

namespace vestro {

Status RefuseNesting(FileSystem& fileSystem, const std::wstring& sourceDir,
                     const std::wstring& targetDir) {
    ResolvedPath source = fileSystem.ResolvePath(sourceDir);
    if (source.status.Failed()) {
        return source.status;
    }
    for (const std::wstring& folder :
         {targetDir, StagingFolderFor(targetDir), BackupFolderFor(targetDir)}) {
        ResolvedPath resolved = fileSystem.ResolvePath(folder);
        if (resolved.status.Failed()) {
            return resolved.status;
        }
        if (IsSameOrInside(resolved.path, source.path) ||
            IsSameOrInside(source.path, resolved.path)) {
            return Status::Failure(std::make_error_code(std::errc::invalid_argument),
                                   L"The folder \"" + sourceDir + L"\" cannot be copied to \"" +
                                       targetDir +
                                       L"\", because one of them lies inside the other.");
        }
    }
    return Status::Success();
}

}  // namespace vestro
