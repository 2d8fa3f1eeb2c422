#include "data_outcome.h"

namespace vestro::end_to_end {

std::wstring NameOf(DataOutcome outcome) {
    switch (outcome) {
        case DataOutcome::OldKept:
            return L"the old data, complete";
        case DataOutcome::NewInPlace:
            return L"the new data, complete";
        case DataOutcome::NoneBefore:
            return L"no data folder, as before";
        case DataOutcome::LostOrMixed:
            return L"lost or mixed data";
    }
    return L"unknown";
}

DataOutcome ClassifyDataFolder(const std::wstring& folder, const std::optional<FileTree>& oldData,
                               const FileTree& newData) {
    const std::optional<FileTree> now = ReadTreeIfPresent(folder);
    if (!now) {
        return oldData ? DataOutcome::LostOrMixed : DataOutcome::NoneBefore;
    }
    if (*now == newData) {
        return DataOutcome::NewInPlace;
    }
    if (oldData && *now == *oldData) {
        return DataOutcome::OldKept;
    }
    return DataOutcome::LostOrMixed;
}

}  // namespace vestro::end_to_end
