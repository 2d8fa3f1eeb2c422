#include "leftover_clearing.h"

#include <functional>
#include <optional>
#include <system_error>

#include "deployment/staged_replacement.h"

namespace vestro {
namespace {

enum class NameUse { Free, OurFolder, TakenByOther };

struct NameProbe {
    NameUse use = NameUse::Free;
    Status status;
};

// A real folder under one of our names is a leftover of ours; a file or a link is not.
NameProbe ProbeName(FileSystem& fileSystem, const std::wstring& path) {
    const ExistsResult folder = fileSystem.FolderExists(path);
    if (folder.status.Failed()) {
        return {NameUse::Free, folder.status};
    }
    if (folder.exists) {
        const LinkProbe link = fileSystem.ProbeLink(path);
        return {link.kind == LinkKind::None ? NameUse::OurFolder : NameUse::TakenByOther,
                link.status};
    }
    const ExistsResult file = fileSystem.FileExists(path);
    return {file.exists ? NameUse::TakenByOther : NameUse::Free, file.status};
}

Status NoFreeName(const std::wstring& first) {
    return Status::Failure(std::make_error_code(std::errc::file_exists),
                           L"Every name from \"" + first + L"\" to \"" +
                               NameOfKind(first, kNamesOfAKind) +
                               L"\" is taken. Remove what is no longer needed and copy again.");
}

// Folders set aside by earlier runs hold nothing anyone needs: removed where they can be.
void RemoveSetAsideFolders(FileSystem& fileSystem, const std::wstring& targetDir) {
    for (int number = 1; number <= kNamesOfAKind; ++number) {
        const std::wstring folder = NameOfKind(SetAsideFolderFor(targetDir), number);
        const NameProbe probe = ProbeName(fileSystem, folder);
        if (probe.status.Failed() || probe.use == NameUse::Free) {
            return;
        }
        if (probe.use == NameUse::OurFolder) {
            fileSystem.DeleteFolder(folder, true);
        }
    }
}

Status RemoveOrSetAside(FileSystem& fileSystem, const std::wstring& leftover,
                        const std::wstring& targetDir) {
    Status removal = fileSystem.DeleteFolder(leftover, true);
    if (!removal.Failed()) {
        return removal;
    }
    for (int number = 1; number <= kNamesOfAKind; ++number) {
        const std::wstring folder = NameOfKind(SetAsideFolderFor(targetDir), number);
        const NameProbe probe = ProbeName(fileSystem, folder);
        if (probe.status.Failed()) {
            return probe.status;
        }
        if (probe.use == NameUse::Free) {
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

// Walks the names of a kind from the first, passing over those taken by something not ours:
// a free name is the answer; at a folder of ours, clearOurFolder answers for it, or gives
// nothing when the next name is to be tried.
Status FindNameOfKind(FileSystem& fileSystem, const std::wstring& first, std::wstring& name,
                      const std::function<std::optional<Status>()>& clearOurFolder) {
    for (int number = 1; number <= kNamesOfAKind; ++number) {
        name = NameOfKind(first, number);
        const NameProbe probe = ProbeName(fileSystem, name);
        if (probe.status.Failed() || probe.use == NameUse::Free) {
            return probe.status;
        }
        if (probe.use == NameUse::OurFolder) {
            if (std::optional<Status> cleared = clearOurFolder()) {
                return *cleared;
            }
        }
    }
    return NoFreeName(first);
}

// A real folder under the backup name is the old data of an interrupted run: put back when the
// target is missing, else cleared.
Status ClearBackup(FileSystem& fileSystem, const std::wstring& targetDir, std::wstring& backup) {
    return FindNameOfKind(fileSystem, BackupFolderFor(targetDir), backup,
                          [&]() -> std::optional<Status> {
                              const ExistsResult target = fileSystem.FolderExists(targetDir);
                              if (target.status.Failed()) {
                                  return target.status;
                              }
                              if (target.exists) {
                                  return RemoveOrSetAside(fileSystem, backup, targetDir);
                              }
                              Status status = fileSystem.MoveFolder(backup, targetDir);
                              if (status.Failed()) {
                                  status.description += OldDataIsNowIn(fileSystem, backup);
                              }
                              return status;
                          });
}

// Staging folders of earlier runs are cleared; one that stays (held open by another program) is
// passed over and tried again by the next run.
Status ClearStaging(FileSystem& fileSystem, const std::wstring& targetDir, std::wstring& staging) {
    return FindNameOfKind(fileSystem, StagingFolderFor(targetDir), staging,
                          [&]() -> std::optional<Status> {
                              if (RemoveOrSetAside(fileSystem, staging, targetDir).Failed()) {
                                  return std::nullopt;
                              }
                              return Status::Success();
                          });
}

}  // namespace

Status RefuseUnmovableLink(FileSystem& fileSystem, const std::wstring& targetDir) {
    const LinkProbe probe = fileSystem.ProbeLink(targetDir);
    if (probe.status.Failed()) {
        return probe.status;
    }
    if (probe.kind == LinkKind::LinkThatCannotMove) {
        return Status::Failure(
            std::make_error_code(std::errc::operation_not_supported),
            L"The folder \"" + targetDir +
                L"\" is a link to another folder, which cannot be set aside here without "
                L"moving the folder it points to. Nothing has been changed; replace the link "
                L"with a folder and copy again.");
    }
    return Status::Success();
}

std::wstring OldDataIsNowIn(FileSystem& fileSystem, const std::wstring& backupDir) {
    const ResolvedPath resolved = fileSystem.ResolvePath(backupDir);
    return L" The old data is now in \"" + (resolved.status.Failed() ? backupDir : resolved.path) +
           L"\".";
}

ReplacementFolders ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir) {
    ReplacementFolders folders;
    folders.status = ClearBackup(fileSystem, targetDir, folders.backup);
    if (!folders.status.Failed()) {
        folders.status = ClearStaging(fileSystem, targetDir, folders.staging);
    }
    if (!folders.status.Failed()) {
        RemoveSetAsideFolders(fileSystem, targetDir);
    }
    return folders;
}

}  // namespace vestro
