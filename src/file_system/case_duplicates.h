#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vestro {

// Two names of one folder that Windows takes for the same name, as it ignores letter case.
// compare orders names the way the platform does with case ignored (negative, 0, positive).
// Costs one copy of the folder's names.
std::optional<std::pair<std::wstring, std::wstring>> FindCaseDuplicate(
    std::vector<std::wstring> names, int (*compare)(const std::wstring&, const std::wstring&));

// A case-blind order by the upper case of each character, for systems without Windows' own
// (built on POSIX only).
int CompareIgnoringCase(const std::wstring& left, const std::wstring& right);

}  // namespace vestro
