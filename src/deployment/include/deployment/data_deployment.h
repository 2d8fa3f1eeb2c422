#pragma once

#include "deployment/path_derivation.h"
#include "deployment/staged_replacement.h"
#include "file_system/file_system.h"

namespace vestro {

// Puts a fresh copy of paths.sourceDir (Data beside the program) in place of paths.targetDir
// (VestroData in the client's Common folder). Returns success, or the failure with the
// description to show the user. Takes a while: run it beside the window, not on its thread.
// Success is known at newDataInPlace; the old data is removed after it, before the return.
Status DeployData(FileSystem& fileSystem, const DeploymentPaths& paths,
                  const ReplacementProgress& progress, const NewDataInPlace& newDataInPlace);

}  // namespace vestro
