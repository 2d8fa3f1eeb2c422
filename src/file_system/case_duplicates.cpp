#include "case_duplicates.h"

#include <algorithm>

namespace vestro {

std::optional<std::pair<std::wstring, std::wstring>> FindCaseDuplicate(
    std::vector<std::wstring> names, int (*compare)(const std::wstring&, const std::wstring&)) {
    std::sort(names.begin(), names.end(),
              [compare](const std::wstring& left, const std::wstring& right) {
                  return compare(left, right) < 0;
              });
    for (std::size_t index = 1; index < names.size(); ++index) {
        if (compare(names[index - 1], names[index]) == 0) {
            return std::pair{names[index - 1], names[index]};
        }
    }
    return std::nullopt;
}

}  // namespace vestro
