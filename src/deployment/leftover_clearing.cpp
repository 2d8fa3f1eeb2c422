#include "leftover_clearing.h"

#include <algorithm>
#include <cwctype>
#include <system_error>
#include <vector>

#include "deployment/staged_replacement.h"
#include "file_system/path_text.h"

namespace vestro {
namespace {

enum class NameUse { Free, OurFolder, TakenByOther };

struct NameProbe {
    NameUse use = NameUse::Free;
    Status status;
};

// A real folder under one of our names is a leftover of ours; a file or a link of any kind (one
// that leads nowhere included) is not.
NameProbe ProbeName(FileSystem& fileSystem, const std::wstring& path) {
    const Result<LinkKind> link = fileSystem.ProbeLink(path);
    if (link.status.Failed() || link.value != LinkKind::None) {
        return {NameUse::TakenByOther, link.status};
    }
    const Result<bool> folder = fileSystem.FolderExists(path);
    if (folder.status.Failed() || folder.value) {
        return {NameUse::OurFolder, folder.status};
    }
    const Result<bool> file = fileSystem.FileExists(path);
    return {file.value ? NameUse::TakenByOther : NameUse::Free, file.status};
}

Status NoFreeName(const std::wstring& first) {
    return Status::Failure(std::make_error_code(std::errc::file_exists),
                           L"Every name from \"" + first + L"\" to \"" +
                               NameOfKind(first, kNamesOfAKind) +
                               L"\" is taken. Remove what is no longer needed and copy again.");
}

// Names compared as Windows does for the ASCII of our own names.
bool IsSameName(const std::wstring& left, const std::wstring& right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t index = 0; index < left.size(); ++index) {
        if (std::towlower(left[index]) != std::towlower(right[index])) {
            return false;
        }
    }
    return true;
}

bool IsDigits(const std::wstring& text) {
    return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

// Whether a name is the first of the kind or a numbered one ("<first>-<number>").
bool IsNameOfKind(const std::wstring& name, const std::wstring& first) {
    const std::wstring numbered = first + L"-";
    return IsSameName(name, first) || (IsSameName(name.substr(0, numbered.size()), numbered) &&
                                       IsDigits(name.substr(numbered.size())));
}

std::size_t LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

// The folder paths of what stands beside the target under the names of the kind, by number.
std::vector<std::wstring> Listed(const Result<std::vector<std::wstring>>& listed,
                                 const std::wstring& targetDir, const std::wstring& firstOfKind) {
    const std::size_t separator = LastSeparator(targetDir);
    const std::wstring folder = targetDir.substr(0, separator + 1);
    const std::wstring first = firstOfKind.substr(separator + 1);
    std::vector<std::wstring> paths;
    for (const std::wstring& name : listed.value) {
        if (IsNameOfKind(name, first)) {
            paths.push_back(folder + name);
        }
    }
    // One kind's names differ only in their number, which a longer name has more digits of.
    std::sort(paths.begin(), paths.end(), [](const std::wstring& left, const std::wstring& right) {
        return left.size() != right.size() ? left.size() < right.size() : left < right;
    });
    return paths;
}

bool IsOurFolder(FileSystem& fileSystem, const std::wstring& path) {
    const NameProbe probe = ProbeName(fileSystem, path);
    return !probe.status.Failed() && probe.use == NameUse::OurFolder;
}

// A leftover that does not go at once is set aside, to be removed with the others set aside;
// one that cannot even be moved is waited for within the tidying's bound.
void ClearOrSetAside(FileSystem& fileSystem, const std::wstring& leftover,
                     const std::wstring& targetDir, StepHoldBound& tidying) {
    StepHoldBound atOnce(false);
    if (fileSystem.DeleteFolder(leftover, true, &atOnce).Failed() &&
        SetAside(fileSystem, leftover, targetDir).Failed()) {
        fileSystem.DeleteFolder(leftover, true, &tidying);
    }
}

// Unknown is not missing: the old data is never cleared on a guess.
bool IsTargetMissing(FileSystem& fileSystem, const std::wstring& targetDir, Status& status) {
    const Result<bool> target = fileSystem.FolderExists(targetDir);
    const Result<LinkKind> link = fileSystem.ProbeLink(targetDir);
    status = target.status.Failed() ? target.status : link.status;
    return !target.value && link.value == LinkKind::None;
}

}  // namespace

Status RefuseUnmovableLink(FileSystem& fileSystem, const std::wstring& targetDir) {
    const Result<LinkKind> probe = fileSystem.ProbeLink(targetDir);
    if (probe.status.Failed()) {
        return probe.status;
    }
    if (probe.value == LinkKind::LinkThatCannotMove) {
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
    const Result<std::wstring> resolved = fileSystem.ResolvePath(backupDir);
    return L" The old data is now in \"" + (resolved.status.Failed() ? backupDir : resolved.value) +
           L"\".";
}

Status ClaimFreeName(FileSystem& fileSystem, const std::wstring& first, std::wstring& name,
                     const std::function<Status(const std::wstring& name)>& claim) {
    for (int number = 1; number <= kNamesOfAKind; ++number) {
        name = NameOfKind(first, number);
        const NameProbe probe = ProbeName(fileSystem, name);
        if (probe.status.Failed()) {
            name.clear();
            return probe.status;
        }
        if (probe.use != NameUse::Free) {
            continue;
        }
        Status claimed = claim(name);
        if (claimed.error != std::errc::file_exists || fileSystem.FolderExists(name).value) {
            return claimed;
        }
    }
    name.clear();  // every name is another's
    return NoFreeName(first);
}

Status SetAside(FileSystem& fileSystem, const std::wstring& folder, const std::wstring& targetDir) {
    std::wstring setAside;
    return ClaimFreeName(fileSystem, SetAsideFolderFor(targetDir), setAside,
                         [&](const std::wstring& name) {
                             StepHoldBound atOnce(false);
                             return fileSystem.MoveFolder(folder, name, &atOnce);
                         });
}

Status ClearLeftovers(FileSystem& fileSystem, const std::wstring& targetDir) {
    const Result<std::vector<std::wstring>> listed =
        fileSystem.ListNames(HoldingFolderOf(targetDir));
    if (listed.status.Failed()) {
        return listed.status;
    }
    // One bound for all the waits of the tidying; what is still held then stays for later.
    StepHoldBound tidying;
    // The old data of an interrupted run goes back where it was; any other is cleared.
    bool putBack = false;
    for (const std::wstring& backup : Listed(listed, targetDir, BackupFolderFor(targetDir))) {
        if (!IsOurFolder(fileSystem, backup)) {
            continue;
        }
        Status probed;
        if (!putBack && IsTargetMissing(fileSystem, targetDir, probed)) {
            if (probed.Failed()) {
                return probed;
            }
            putBack = true;
            if (Status status = fileSystem.MoveFolder(backup, targetDir); status.Failed()) {
                status.description += OldDataIsNowIn(fileSystem, backup);
                return status;
            }
            continue;
        }
        ClearOrSetAside(fileSystem, backup, targetDir, tidying);
    }
    for (const std::wstring& staging : Listed(listed, targetDir, StagingFolderFor(targetDir))) {
        if (IsOurFolder(fileSystem, staging)) {
            ClearOrSetAside(fileSystem, staging, targetDir, tidying);
        }
    }
    // Those set aside just now included.
    const Result<std::vector<std::wstring>> afterwards =
        fileSystem.ListNames(HoldingFolderOf(targetDir));
    for (const std::wstring& stale : Listed(afterwards, targetDir, SetAsideFolderFor(targetDir))) {
        if (IsOurFolder(fileSystem, stale)) {
            fileSystem.DeleteFolder(stale, true, &tidying);
        }
    }
    return Status::Success();
}

}  // namespace vestro
