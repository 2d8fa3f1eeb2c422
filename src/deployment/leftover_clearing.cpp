#include "leftover_clearing.h"

#include <system_error>

#include "deployment/staged_replacement.h"

namespace vestro {
namespace {

// Enough for years of leftovers that nobody removes; beyond it the copy fails and says why.
constexpr int kMostSetAsideFolders = 100;

std::wstring SetAsideFolder(const std::wstring& targetDir, int number) {
    return BackupFolderFor(targetDir) + L"-" + std::to_wstring(number);
}

// Folders set aside by earlier runs hold nothing anyone needs: removed where they can be.
void RemoveSetAsideFolders(FileSystem& fileSystem, const std::wstring& targetDir) {
    for (int number = 2; number <= kMostSetAsideFolders; ++number) {
        const std::wstring folder = SetAsideFolder(targetDir, number);
        if (!fileSystem.FolderExists(folder).exists) {
            return;
        }
        fileSystem.DeleteFolder(folder, true);
    }
}

Status RemoveOrSetAside(FileSystem& fileSystem, const std::wstring& leftover,
                        const std::wstring& targetDir) {
    Status removal = fileSystem.DeleteFolder(leftover, true);
    if (!removal.Failed()) {
        return removal;
    }
    for (int number = 2; number <= kMostSetAsideFolders; ++number) {
        const std::wstring folder = SetAsideFolder(targetDir, number);
        const ExistsResult taken = fileSystem.FolderExists(folder);
        if (taken.status.Failed()) {
            return taken.status;
        }
        if (!taken.exists) {
            Status move = fileSystem.MoveFolder(leftover, folder);
            if (move.Failed()) {
                removal.description += L" Setting it aside failed too: " + move.description;
                return removal;
            }
            return move;
        }
    }
    removal.description += L" Folders set aside earlier beside it take every free name.";
    return removal;
}

}  // namespace

Status RefuseUnmovableLinks(FileSystem& fileSystem, const std::wstring& targetDir) {
    for (const std::wstring& folder :
         {targetDir, StagingFolderFor(targetDir), BackupFolderFor(targetDir)}) {
        const LinkProbe probe = fileSystem.ProbeLink(folder);
        if (probe.status.Failed()) {
            return probe.status;
        }
        if (probe.kind == LinkKind::LinkThatCannotMove) {
            return Status::Failure(
                std::make_error_code(std::errc::operation_not_supported),
                L"The folder \"" + folder +
                    L"\" is a link to another folder, which cannot be set aside here without "
                    L"moving the folder it points to. Nothing has been changed; replace the link "
                    L"with a folder and copy again.");
        }
    }
    return Status::Success();
}

std::wstring OldDataIsNowIn(FileSystem& fileSystem, const std::wstring& backupDir) {
    const ResolvedPath resolved = fileSystem.ResolvePath(backupDir);
    return L" The old data is now in \"" + (resolved.status.Failed() ? backupDir : resolved.path) +
           L"\".";
}

Status ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir) {
    const std::wstring backupDir = BackupFolderFor(targetDir);
    const ExistsResult backup = fileSystem.FolderExists(backupDir);
    if (backup.status.Failed()) {
        return backup.status;
    }
    if (backup.exists) {
        const ExistsResult target = fileSystem.FolderExists(targetDir);
        if (target.status.Failed()) {
            return target.status;
        }
        if (target.exists) {
            if (Status status = RemoveOrSetAside(fileSystem, backupDir, targetDir);
                status.Failed()) {
                return status;
            }
        } else if (Status status = fileSystem.MoveFolder(backupDir, targetDir); status.Failed()) {
            status.description += OldDataIsNowIn(fileSystem, backupDir);
            return status;
        }
    }
    const std::wstring stagingDir = StagingFolderFor(targetDir);
    const ExistsResult staging = fileSystem.FolderExists(stagingDir);
    if (staging.status.Failed()) {
        return staging.status;
    }
    if (staging.exists) {
        if (Status status = RemoveOrSetAside(fileSystem, stagingDir, targetDir); status.Failed()) {
            return status;
        }
    }
    RemoveSetAsideFolders(fileSystem, targetDir);
    return Status::Success();
}

}  // namespace vestro
