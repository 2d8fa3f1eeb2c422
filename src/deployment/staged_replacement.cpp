#include "deployment/staged_replacement.h"

#include <algorithm>
#include <system_error>

#include "folder_nesting.h"
#include "leftover_clearing.h"

namespace vestro {
namespace {

// Best effort: the failure being reported matters more than one met while tidying up, and what
// stays behind is cleared by the next run.
void DiscardStaging(FileSystem& fileSystem, const std::wstring& stagingDir) {
    if (fileSystem.FolderExists(stagingDir).exists) {
        fileSystem.DeleteFolder(stagingDir, true);
    }
}

Status AnotherCopyIsRunning(const std::wstring& targetDir) {
    return Status::Failure(std::make_error_code(std::errc::device_or_resource_busy),
                           L"Another copy into the folder \"" + targetDir +
                               L"\" is running. Nothing has been changed; try again when it has "
                               L"finished.");
}

Status CopyToStaging(FileSystem& fileSystem, const std::wstring& sourceDir,
                     const std::wstring& stagingDir, std::uint64_t total,
                     const ReplacementProgress& progress) {
    if (progress) {
        progress(0, total);  // the total is known: the measuring is over
    }
    // Linked folders inside are copied but not measured: the count stops at the total.
    CopyProgress copyProgress;
    if (progress) {
        copyProgress = [&progress, total](std::uint64_t bytesCopied) {
            progress(std::min(bytesCopied, total), total);
        };
    }
    if (Status status = fileSystem.CopyFolder(sourceDir, stagingDir, true, copyProgress);
        status.Failed()) {
        return status;
    }
    if (progress) {
        progress(total, total);
    }
    return Status::Success();
}

Status StageAndSwap(FileSystem& fileSystem, const std::wstring& sourceDir,
                    const std::wstring& targetDir, const ReplacementFolders& folders,
                    std::uint64_t total, const ReplacementProgress& progress,
                    const NewDataInPlace& newDataInPlace) {
    const std::wstring& stagingDir = folders.staging;
    if (Status status = CopyToStaging(fileSystem, sourceDir, stagingDir, total, progress);
        status.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    const ExistsResult target = fileSystem.FolderExists(targetDir);
    if (target.status.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return target.status;
    }
    const std::wstring& backupDir = folders.backup;
    if (target.exists) {
        if (Status status = fileSystem.MoveFolder(targetDir, backupDir); status.Failed()) {
            DiscardStaging(fileSystem, stagingDir);
            return status;
        }
    }

    if (Status status = fileSystem.MoveFolder(stagingDir, targetDir); status.Failed()) {
        if (target.exists) {
            if (Status putBack = fileSystem.MoveFolder(backupDir, targetDir); putBack.Failed()) {
                status.description += L" Putting the old folder back failed too: " +
                                      putBack.description + OldDataIsNowIn(fileSystem, backupDir);
            }
        }
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    // The new data is in place: the copy has succeeded, whatever the removal of the old folder
    // meets. What it leaves is removed by the next run.
    if (newDataInPlace) {
        newDataInPlace();
    }
    if (target.exists) {
        fileSystem.DeleteFolder(backupDir, true);
    }
    return Status::Success();
}

// The first lock name that holds no folder or link: every copy into the target picks the same.
LockAcquisition LockReplacement(FileSystem& fileSystem, const std::wstring& targetDir) {
    LockAcquisition lock;
    for (int number = 1; number <= kNamesOfAKind; ++number) {
        lock = fileSystem.LockExclusively(NameOfKind(LockFileFor(targetDir), number));
        if (!lock.nameTaken) {
            break;
        }
    }
    return lock;
}

}  // namespace

std::wstring StagingFolderFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-new";
}

std::wstring BackupFolderFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-old";
}

std::wstring LockFileFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-lock";
}

std::wstring SetAsideFolderFor(const std::wstring& targetDir) {
    return targetDir + L".vestrofile-stale";
}

std::wstring NameOfKind(const std::wstring& first, int number) {
    return number <= 1 ? first : first + L"-" + std::to_wstring(number);
}

Status ReplaceFolderWithCopy(FileSystem& fileSystem, const std::wstring& sourceDir,
                             const std::wstring& targetDir, const ReplacementProgress& progress,
                             const NewDataInPlace& newDataInPlace) {
    // Before anything is created: even the lock file would land inside the source.
    if (Status status = RefuseNesting(fileSystem, sourceDir, targetDir); status.Failed()) {
        return status;
    }
    // Read before anything is touched: a Data that cannot be copied changes nothing.
    const FolderSize size = fileSystem.MeasureFolder(sourceDir);
    if (size.status.Failed()) {
        return size.status;
    }
    // Held to the end: a second replacement would take this one's staging folder for a leftover.
    const LockAcquisition lock = LockReplacement(fileSystem, targetDir);
    if (lock.heldElsewhere) {
        return AnotherCopyIsRunning(targetDir);
    }
    if (lock.status.Failed()) {
        return lock.status;
    }
    if (Status status = RefuseUnmovableLink(fileSystem, targetDir); status.Failed()) {
        return status;
    }
    const ReplacementFolders folders = ClearLeftovers(fileSystem, targetDir);
    if (folders.status.Failed()) {
        return folders.status;
    }
    return StageAndSwap(fileSystem, sourceDir, targetDir, folders, size.bytes, progress,
                        newDataInPlace);
}

}  // namespace vestro
