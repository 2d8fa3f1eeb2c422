#include "deployment/data_deployment.h"

namespace vestro {

Status DeployData(FileSystem& fileSystem, const DeploymentPaths& paths,
                  const ReplacementProgress& progress, const NewDataInPlace& newDataInPlace) {
    return ReplaceFolderWithCopy(fileSystem, paths.sourceDir, paths.targetDir, progress,
                                 newDataInPlace);
}

}  // namespace vestro
