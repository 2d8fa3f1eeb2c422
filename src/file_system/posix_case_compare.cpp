#include <algorithm>
#include <locale>
#include <stdexcept>

#include "case_duplicates.h"

// Only the POSIX build compares names itself: Windows has its own comparison, and this one
// would bring the C++ locale machinery into the executable.
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
