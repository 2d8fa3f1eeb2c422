#include "folder_nesting.h"

#include <system_error>

#include "deployment/staged_replacement.h"
#include "file_system/path_text.h"

namespace vestro {

Status RefuseNesting(FileSystem& fileSystem, const std::wstring& sourceDir,
                     const std::wstring& targetDir) {
    Result<std::wstring> source = fileSystem.ResolvePath(sourceDir);
    if (source.status.Failed()) {
        return source.status;
    }
    const Result<std::wstring> target = fileSystem.ResolvePath(targetDir);
    if (target.status.Failed()) {
        return target.status;
    }
    // The folders a replacement keeps beside the target all start with its name.
    if (IsSameOrInside(target.value, source.value) || IsSameOrInside(source.value, target.value) ||
        StartsWithPath(source.value, target.value + kReplacementNameLead)) {
        return Status::Failure(std::make_error_code(std::errc::invalid_argument),
                               L"The folder \"" + sourceDir + L"\" cannot be copied to \"" +
                                   targetDir + L"\", because one of them lies inside the other.");
    }
    return Status::Success();
}

}  // namespace vestro
