#include "deployment/data_deployment.h"

namespace vestro {

Status DeployData(FileSystem& fileSystem, const DeploymentPaths& paths,
                  const ReplacementProgress& progress) {
    return ReplaceFolderWithCopy(fileSystem, paths.sourceDir, paths.targetDir, progress);
}

}  // namespace vestro
