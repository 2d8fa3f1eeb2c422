#include "file_system/path_text.h"

#include <cwctype>

namespace vestro {
namespace {

// Same letters, slashes alike, case ignored where the platform ignores it.
std::wstring ComparableForm(std::wstring_view path) {
    std::wstring result;
    result.reserve(path.size());
    for (wchar_t character : path) {
        if (IsSeparator(character)) {
            // Runs of separators name the same folder as one.
            if (!result.empty() && result.back() == kPathSeparator) {
                continue;
            }
            result.push_back(kPathSeparator);
            continue;
        }
#ifdef _WIN32
        result.push_back(static_cast<wchar_t>(std::towupper(character)));
#else
        result.push_back(character);
#endif
    }
    while (result.size() > 1 && result.back() == kPathSeparator) {
        result.pop_back();
    }
    return result;
}

std::wstring TrimSpaces(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(first, last - first + 1));
}

}  // namespace

std::wstring HoldingFolderOf(const std::wstring& path) {
    std::size_t end = path.size();
    while (end > 0 && !IsSeparator(path[end - 1])) {
        --end;
    }
    return path.substr(0, end > 1 ? end - 1 : end);
}

bool IsSeparator(wchar_t character) {
#ifdef _WIN32
    return character == L'\\' || character == L'/';
#else
    return character == L'/';
#endif
}

std::wstring WithoutPathQuotes(std::wstring_view text) {
    const std::wstring trimmed = TrimSpaces(text);
    if (trimmed.size() >= 2 && trimmed.front() == L'"' && trimmed.back() == L'"') {
        return trimmed.substr(1, trimmed.size() - 2);
    }
    return std::wstring(text);
}

std::wstring CleanPathText(std::wstring_view text) {
    return TrimSpaces(WithoutPathQuotes(text));
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring result(folder);
    result.push_back(kPathSeparator);
    result.append(name);
    return result;
}

bool IsSameOrInside(std::wstring_view inner, std::wstring_view outer) {
    const std::wstring innerForm = ComparableForm(inner);
    const std::wstring outerForm = ComparableForm(outer);
    if (innerForm.size() < outerForm.size() ||
        innerForm.compare(0, outerForm.size(), outerForm) != 0) {
        return false;
    }
    return innerForm.size() == outerForm.size() || outerForm.back() == kPathSeparator ||
           innerForm[outerForm.size()] == kPathSeparator;
}

bool StartsWithPath(std::wstring_view inner, std::wstring_view prefix) {
    return ComparableForm(inner).starts_with(ComparableForm(prefix));
}

}  // namespace vestro
