#include "deployment/data_deployment.h"

#include "deployment/staged_replacement.h"

namespace vestro {
namespace {

// The replacement reports no progress of its own: the whole total is told once it is done.
Status ReplaceReportingTheEnd(FileSystem& fileSystem, const std::wstring& sourceDir,
                              const std::wstring& targetDir, const ReplacementProgress& progress) {
    const FolderSize size = fileSystem.MeasureFolder(sourceDir);
    Status status = ReplaceFolderWithCopy(fileSystem, sourceDir, targetDir);
    if (!status.Failed() && progress) {
        progress(size.bytes, size.bytes);
    }
    return status;
}

}  // namespace

Status DeployData(FileSystem& fileSystem, const DeploymentPaths& paths,
                  const ReplacementProgress& progress) {
    return ReplaceReportingTheEnd(fileSystem, paths.sourceDir, paths.targetDir, progress);
}

}  // namespace vestro
