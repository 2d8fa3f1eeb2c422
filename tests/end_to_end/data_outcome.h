#pragma once

#include <optional>
#include <string>

#include "file_tree.h"

namespace vestro::end_to_end {

// What a data folder holds after an attempt to replace it: all of the old data, all of the new
// data, or anything else, which loses or mixes data.
enum class DataOutcome { OldKept, NewInPlace, NoneBefore, LostOrMixed };

std::wstring NameOf(DataOutcome outcome);

// oldData: the folder's tree before the attempt; empty when it did not exist.
DataOutcome ClassifyDataFolder(const std::wstring& folder, const std::optional<FileTree>& oldData,
                               const FileTree& newData);

}  // namespace vestro::end_to_end
