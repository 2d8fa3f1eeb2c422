#include "case_duplicates.h"

#include <algorithm>
#include <locale>
#include <stdexcept>

namespace vestro {
namespace {

// Upper case for every letter, not only ASCII as in the "C" locale, without touching the
// program's global locale.
const std::ctype<wchar_t>& LetterCase() {
    static const std::locale locale = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return std::use_facet<std::ctype<wchar_t>>(locale);
}

}  // namespace

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

int CompareIgnoringCase(const std::wstring& left, const std::wstring& right) {
    const std::ctype<wchar_t>& letterCase = LetterCase();
    const std::size_t length = std::min(left.size(), right.size());
    for (std::size_t index = 0; index < length; ++index) {
        const wchar_t a = letterCase.toupper(left[index]);
        const wchar_t b = letterCase.toupper(right[index]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

}  // namespace vestro
