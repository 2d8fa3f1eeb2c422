#pragma once

#include <cstdint>
#include <functional>

#include "deployment/path_derivation.h"
#include "file_system/file_system.h"

namespace vestro {

// Told (bytes copied, bytes in all) as a replacement goes on, from any thread, never two calls
// at once, never going back; the last call on success is (total, total).
using ReplacementProgress =
    std::function<void(std::uint64_t bytesCopied, std::uint64_t bytesTotal)>;

// Puts a fresh copy of paths.sourceDir (Data beside the program) in place of paths.targetDir
// (VestroData in the client's Common folder). Returns success, or the failure with the
// description to show the user. Takes a while: run it beside the window, not on its thread.
Status DeployData(FileSystem& fileSystem, const DeploymentPaths& paths,
                  const ReplacementProgress& progress);

}  // namespace vestro
