#include "deployment/staged_replacement.h"

#include <algorithm>
#include <system_error>

#include "file_system/path_text.h"
#include "folder_nesting.h"
#include "leftover_clearing.h"
#include "room_check.h"

namespace vestro {
namespace {

// Best effort: the failure being reported matters more than one met while tidying up, and what
// stays behind is cleared by the next run.
void DiscardStaging(FileSystem& fileSystem, const std::wstring& stagingDir) {
    if (fileSystem.FolderExists(stagingDir).value) {
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
                     const std::wstring& stagingDir, const std::wstring& targetDir,
                     std::uint64_t total, const ReplacementProgress& progress) {
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
    // The old data's unchanged files become names in the new: it needs room only for the rest.
    if (Status status =
            fileSystem.CopyFolderReusing(sourceDir, stagingDir, targetDir, copyProgress);
        status.Failed()) {
        return status;
    }
    if (progress) {
        progress(total, total);
    }
    return Status::Success();
}

// Whatever stands at the target and can be moved as a folder or as a link is set aside.
bool IsTargetPresent(FileSystem& fileSystem, const std::wstring& targetDir, Status& status) {
    const Result<bool> folder = fileSystem.FolderExists(targetDir);
    const Result<LinkKind> link = fileSystem.ProbeLink(targetDir);
    status = folder.status.Failed() ? folder.status : link.status;
    return folder.value || link.value == LinkKind::Link;
}

Status StageAndSwap(FileSystem& fileSystem, const std::wstring& sourceDir,
                    const std::wstring& targetDir, std::uint64_t total,
                    const ReplacementProgress& progress, const NewDataInPlace& newDataInPlace) {
    std::wstring stagingDir;
    if (Status status = ClaimFreeName(fileSystem, StagingFolderFor(targetDir), stagingDir,
                                      [&](const std::wstring& staging) {
                                          return CopyToStaging(fileSystem, sourceDir, staging,
                                                               targetDir, total, progress);
                                      });
        status.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    Status probed;
    const bool targetPresent = IsTargetPresent(fileSystem, targetDir, probed);
    if (probed.Failed()) {
        DiscardStaging(fileSystem, stagingDir);
        return probed;
    }
    std::wstring backupDir;
    if (targetPresent) {
        if (Status status = ClaimFreeName(fileSystem, BackupFolderFor(targetDir), backupDir,
                                          [&](const std::wstring& backup) {
                                              return fileSystem.MoveFolder(targetDir, backup);
                                          });
            status.Failed()) {
            DiscardStaging(fileSystem, stagingDir);
            return status;
        }
    }

    if (Status status = fileSystem.MoveFolder(stagingDir, targetDir); status.Failed()) {
        if (!targetPresent && status.error == std::errc::file_exists) {
            status.description +=
                L" Something this system does not show stands under that name, "
                L"such as a link that leads nowhere; remove it and copy again.";
        }
        if (targetPresent) {
            if (Status putBack = fileSystem.MoveFolder(backupDir, targetDir); putBack.Failed()) {
                status.description += L" Putting the old folder back failed too: " +
                                      putBack.description + OldDataIsNowIn(fileSystem, backupDir);
            }
        }
        DiscardStaging(fileSystem, stagingDir);
        return status;
    }

    // The new data is in place: the copy has succeeded, whatever the removal of the old folder
    // meets. It waits for held items once for all of them; what is still held then is set aside
    // for the next run, so that the program can end soon after telling the user.
    if (newDataInPlace) {
        newDataInPlace();
    }
    StepHoldBound removal;
    if (targetPresent && fileSystem.DeleteFolder(backupDir, true, &removal).Failed()) {
        SetAside(fileSystem, backupDir, targetDir);
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
    const std::wstring commonDir = HoldingFolderOf(targetDir);
    const Result<VolumeSpace> volume = fileSystem.FreeSpace(commonDir);
    if (volume.Failed()) {
        return volume.status;
    }
    const std::uint64_t unit = volume.value.allocationUnit;
    const Result<CopySize> size = fileSystem.MeasureCopy(sourceDir, L"", unit);
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
    if (Status status = ClearLeftovers(fileSystem, targetDir); status.Failed()) {
        return status;
    }
    // Once leftovers have gone, whose room counts too. Only where a whole copy would not fit is
    // the old data read first for what the copy can reuse; otherwise the copy reads it as it goes.
    if (CheckRoom(fileSystem, commonDir, size.value).Failed()) {
        const Result<CopySize> reusing = fileSystem.MeasureCopy(sourceDir, targetDir, unit);
        if (reusing.status.Failed()) {
            return reusing.status;
        }
        if (Status status = CheckRoom(fileSystem, commonDir, reusing.value); status.Failed()) {
            return status;
        }
    }
    return StageAndSwap(fileSystem, sourceDir, targetDir, size.value.source.bytes, progress,
                        newDataInPlace);
}

}  // namespace vestro
