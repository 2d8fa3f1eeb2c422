#include "win32_resolved_path.h"

#include <windows.h>

#include <vector>

#include "file_system/win32_error_text.h"
#include "file_system/win32_owned_handle.h"
#include "win32_sized_text.h"

namespace vestro {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedSharePrefix = L"\\\\?\\UNC\\";

SizedText ReadFinalPath(HANDLE item, DWORD volumeForm) {
    return ReadSizedText([item, volumeForm](wchar_t* buffer, DWORD capacity) {
        return GetFinalPathNameByHandleW(item, buffer, capacity, volumeForm);
    });
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

// A volume without a drive letter has no "C:\" form; its GUID form names it just as uniquely.
SizedText FinalPathOf(HANDLE item) {
    SizedText final = ReadFinalPath(item, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (final.error != ERROR_SUCCESS) {
        final = ReadFinalPath(item, FILE_NAME_NORMALIZED | VOLUME_NAME_GUID);
    }
    if (final.text.starts_with(kExtendedSharePrefix)) {
        final.text = L"\\\\" + final.text.substr(kExtendedSharePrefix.size());
    } else if (final.text.size() > kExtendedPrefix.size() + 1 &&
               final.text.starts_with(kExtendedPrefix) &&
               final.text[kExtendedPrefix.size() + 1] == L':') {
        final.text.erase(0, kExtendedPrefix.size());
    }
    return final;
}

bool IsSameFinalPath(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

SizedText FinalPathReached(const std::wstring& systemPath) {
    const OwnedHandle handle = OpenToReadAttributes(systemPath);
    if (!handle) {
        return {{}, GetLastError()};
    }
    return FinalPathOf(handle.Get());
}

ResolvedPath ResolveItemPath(const ItemPath& item) {
    std::wstring existing = item.system;
    std::vector<std::wstring> missingNames;  // deepest first
    for (;;) {
        SizedText final = FinalPathReached(existing);
        if (final.error == ERROR_SUCCESS) {
            for (auto name = missingNames.rbegin(); name != missingNames.rend(); ++name) {
                final.text = JoinWithBackslash(final.text, *name);
            }
            return {std::move(final.text), Status::Success()};
        }
        const DWORD error = final.error;
        const std::size_t separator = existing.find_last_of(L'\\');
        // The root of a drive or share that is not there ends the search.
        if (!IsMissing(error) || separator == std::wstring::npos ||
            separator < kExtendedPrefix.size() || existing.ends_with(L":\\")) {
            return {{}, Win32Failure(error, CouldNot(L"resolve the path", item.display))};
        }
        missingNames.push_back(existing.substr(separator + 1));
        existing.resize(separator);
        if (existing.ends_with(L':')) {
            existing.push_back(L'\\');  // "\\?\C:" would name the volume, not its root folder
        }
    }
}

}  // namespace vestro
