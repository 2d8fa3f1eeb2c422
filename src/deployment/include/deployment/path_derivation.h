#pragma once

#include <string>
#include <string_view>

#include "file_system/status.h"

namespace vestro {

// The folders a copy works with, all derived by text from the path box and the program folder.
struct DeploymentPaths {
    std::wstring exePath;    // the path box text without surrounding spaces
    std::wstring commonDir;  // the folder that holds exePath, then "Common"
    std::wstring targetDir;  // commonDir, then "VestroData"
    std::wstring sourceDir;  // the program folder, then "Data"
};

// Fails, touching nothing, when the path has no folder part.
Result<DeploymentPaths> DeriveDeploymentPaths(std::wstring_view sourcePathText,
                                              std::wstring_view programFolder);

}  // namespace vestro
