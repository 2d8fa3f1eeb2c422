#include "file_system/win32_extended_path.h"

#include "win32_platform.h"

#include <windows.h>

#include <algorithm>

namespace vestro {
namespace {

constexpr std::wstring_view kExtendedSharePrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kReservedCharacters = L"<>:\"|?*";

bool IsAsciiLetter(wchar_t character) {
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z');
}

// The reserved characters are wildcards or syntax: such text names nothing. Trailing spaces and
// dots are left to GetFullPathNameW, which drops them from the last name as Windows does.
bool IsAcceptableName(std::wstring_view name) {
    return std::none_of(name.begin(), name.end(), [](wchar_t character) {
        return character < 32 || kReservedCharacters.find(character) != std::wstring_view::npos;
    });
}

bool IsAcceptablePath(std::wstring_view path) {
    if (path.size() >= 2 && path[1] == L':' && IsAsciiLetter(path[0])) {
        path.remove_prefix(2);
    }
    while (!path.empty()) {
        const std::size_t end = std::min(path.find(L'\\'), path.size());
        if (!IsAcceptableName(path.substr(0, end))) {
            return false;
        }
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return true;
}

}  // namespace

std::wstring ToPlainPath(std::wstring_view extended) {
    if (extended.starts_with(kExtendedSharePrefix)) {
        return L"\\\\" + std::wstring(extended.substr(kExtendedSharePrefix.size()));
    }
    const std::wstring_view drive =
        extended.substr(std::min(extended.size(), kExtendedPrefix.size()));
    const bool named = extended.starts_with(kExtendedPrefix) && drive.find(L':') == 1;
    return std::wstring(named ? drive : extended);
}

ExtendedPath ToExtendedPath(std::wstring_view path) {
    if (path.starts_with(kExtendedPrefix) || path.starts_with(kDevicePrefix)) {
        return {std::wstring(path), ERROR_SUCCESS};
    }
    std::wstring text(path);
    std::replace(text.begin(), text.end(), L'/', L'\\');
    if (text.empty()) {
        return {{}, ERROR_PATH_NOT_FOUND};
    }
    if (!IsAcceptablePath(text)) {
        return {{}, ERROR_INVALID_NAME};
    }
    SizedText full = ReadSizedText([&text](wchar_t* buffer, DWORD capacity) {
        return GetFullPathNameW(text.c_str(), capacity, buffer, nullptr);
    });
    if (full.error != ERROR_SUCCESS) {
        return {{}, full.error};
    }
    // Names are joined to it with one backslash; a drive's root keeps its own. Windows reads a
    // name followed by a separator as a folder only.
    const bool namesFolder = full.text.back() == L'\\';
    while (full.text.size() > 3 && full.text.back() == L'\\') {
        full.text.pop_back();
    }
    if (full.text.starts_with(kDevicePrefix)) {
        return {std::move(full.text), ERROR_SUCCESS, namesFolder};
    }
    if (full.text.starts_with(L"\\\\")) {
        return {std::wstring(kExtendedSharePrefix) + full.text.substr(2), ERROR_SUCCESS,
                namesFolder};
    }
    return {std::wstring(kExtendedPrefix) + full.text, ERROR_SUCCESS, namesFolder};
}

std::wstring JoinWithBackslash(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined(folder);
    if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/') {
        joined.push_back(L'\\');
    }
    joined.append(name);
    return joined;
}

}  // namespace vestro
