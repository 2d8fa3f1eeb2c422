#include "deployment/staged_replacement.h"

#include <system_error>

#include "file_system/path_text.h"

namespace vestro {
namespace {

// A failed probe counts as a failure of the step that asked it.
struct Probe {
    bool exists = false;
    Status status;
};

Probe FolderProbe(FileSystem& fileSystem, const std::wstring& path) {
    ExistsResult result = fileSystem.FolderExists(path);
    return {result.exists, std::move(result.status)};
}

Status RefuseNesting(const std::wstring& sourceDir, const std::wstring& targetDir) {
    for (const std::wstring& folder :
         {targetDir, StagingFolderFor(targetDir), BackupFolderFor(targetDir)}) {
        if (IsSameOrInside(folder, sourceDir) || IsSameOrInside(sourceDir, folder)) {
            return Status::Failure(std::make_error_code(std::errc::invalid_argument),
                                   L"The folder \"" + sourceDir + L"\" cannot be copied to \"" +
                                       targetDir +
                                       L"\", because one of them lies inside the other.");
        }
    }
    return Status::Success();
}

// An earlier run may have stopped half-way: its old folder set aside, or a partial new copy.
Status ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir) {
    const std::wstring backupDir = BackupFolderFor(targetDir);
    const Probe backup = FolderProbe(fileSystem, backupDir);
    if (backup.status.Failed()) {
        return backup.status;
    }
    if (backup.exists) {
        const Probe target = FolderProbe(fileSystem, targetDir);
        if (target.status.Failed()) {
            return target.status;
        }
        Status status = target.exists ? fileSystem.DeleteFolder(backupDir, true)
                                      : fileSystem.MoveFolder(backupDir, targetDir);
        if (status.Failed()) {
            return status;
        }
    }
    const std::wstring stagingDir = StagingFolderFor(targetDir);
    const Probe staging = FolderProbe(fileSystem, stagingDir);
    if (staging.status.Failed()) {
        return staging.status;
    }
    return staging.exists ? fileSystem.DeleteFolder(stagingDir, true) : Status::Success();
}

// Best effort: the failure being reported matters more than one met while tidying up, and what
// stays behind is cleared by the next run.
void DiscardStaging(FileSystem& fileSystem, const std::wstring& stagingDir) {
    if (FolderProbe(fileSystem, stagingDir).exists) {
        fileSystem.DeleteFolder(stagingDir, true);
    }
}

}  // namespace

std::wstring StagingFolderFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-new";
}

std::wstring BackupFolderFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-old";
}

Status ReplaceFolderWithCopy(FileSystem& fileSystem, const std::wstring& sourceDir,
                             const std::wstring& targetDir) {
    if (Status status = RefuseNesting(sourceDir, targetDir); status.Failed()) {
        return status;
    }
    if (Status status = ClearLeftovers(fileSystem, targetDir); status.Failed()) {
        return status;
    }

    const std::wstring stagingDir = StagingFolderFor(targetDir);
    if (Status status = fileSystem.CopyFolder(sourceDir, stagingDir, true); status.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    const Probe target = FolderProbe(fileSystem, targetDir);
    if (target.status.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return target.status;
    }
    const std::wstring backupDir = BackupFolderFor(targetDir);
    if (target.exists) {
        if (Status status = fileSystem.MoveFolder(targetDir, backupDir); status.Failed()) {
            DiscardStaging(fileSystem, stagingDir);
            return status;
        }
    }

    if (Status status = fileSystem.MoveFolder(stagingDir, targetDir); status.Failed()) {
        if (target.exists) {
            fileSystem.MoveFolder(backupDir, targetDir);
        }
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    // The new data is in place. An old folder that will not go away now is removed by the next
    // run; the copy itself has succeeded.
    if (target.exists) {
        fileSystem.DeleteFolder(backupDir, true);
    }
    return Status::Success();
}

}  // namespace vestro
