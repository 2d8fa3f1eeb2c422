#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Told how many bytes of the source have been copied of how many there are. Calls never
// overlap and the count never goes down, whichever thread makes them.
using ReplacementProgress =
    std::function<void(std::uint64_t bytesCopied, std::uint64_t bytesTotal)>;

// Told once, when the new folder has been renamed into place: the replacement has succeeded.
// The old folder is removed after it returns, so the user need not wait for that.
using NewDataInPlace = std::function<void()>;

// Where a replacement keeps the new copy until it is complete, the old folder until the new one
// is in place, and its lock; and where it sets aside an old folder that will not go away. All lie
// beside the target, so that the swap is a rename on one volume, and all start with the target's
// name and kReplacementNameLead. These are the first names of each kind; where something else
// stands under one, the next of its kind is used (NameOfKind).
inline constexpr wchar_t kReplacementNameLead[] = L".vestrofile-";
std::wstring StagingFolderFor(const std::wstring& targetDir);
std::wstring BackupFolderFor(const std::wstring& targetDir);
std::wstring LockFileFor(const std::wstring& targetDir);
std::wstring SetAsideFolderFor(const std::wstring& targetDir);

// The number-th name of a kind, from 1: the first name itself, then "<first>-2", "<first>-3", ...
std::wstring NameOfKind(const std::wstring& first, int number);
// How many names of a kind are tried: enough for years of leftovers nobody removes.
inline constexpr int kNamesOfAKind = 100;

// Makes targetDir a copy of sourceDir (stage, swap by renames, remove old), one replacement at
// a time per target; returns success or the failure with its description for the user.
// Whatever fails, targetDir afterwards holds either all of its old contents or all of the new
// ones; when even putting the old folder back failed, the description says where it is.
// Progress starts with (0, total) once the source is measured and ends with (total, total) on
// success. Removing the old folder comes after newDataInPlace, the lock still held; however it
// ends, the new data stays and the replacement has succeeded; what stays is the next run's.
Status ReplaceFolderWithCopy(FileSystem& fileSystem, const std::wstring& sourceDir,
                             const std::wstring& targetDir,
                             const ReplacementProgress& progress = {},
                             const NewDataInPlace& newDataInPlace = {});

}  // namespace vestro
