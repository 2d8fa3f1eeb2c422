#include "deployment/path_derivation.h"

#include <algorithm>
#include <system_error>

#include "file_system/path_text.h"

namespace vestro {

Result<DeploymentPaths> DeriveDeploymentPaths(std::wstring_view sourcePathText,
                                              std::wstring_view programFolder) {
    Result<DeploymentPaths> result;
    DeploymentPaths& paths = result.value;
    paths.exePath = CleanPathText(sourcePathText);

    // The folder that holds the chosen file, whatever the file is called: cutting a fixed
    // "\Tarno.exe" would give a wrong folder for any other name.
    const auto lastSeparator =
        std::find_if(paths.exePath.rbegin(), paths.exePath.rend(), IsSeparator);
    if (lastSeparator == paths.exePath.rend()) {
        result.status = Status::Failure(
            std::make_error_code(std::errc::invalid_argument),
            L"The path \"" + paths.exePath + L"\" does not name a folder that holds the file.");
        return result;
    }
    const auto folderLength = static_cast<std::size_t>(paths.exePath.rend() - lastSeparator) - 1;
    paths.commonDir = JoinPath(std::wstring_view(paths.exePath).substr(0, folderLength), L"Common");
    paths.targetDir = JoinPath(paths.commonDir, L"VestroData");
    paths.sourceDir = JoinPath(programFolder, L"Data");
    return result;
}

}  // namespace vestro
