#include "win32_folder_listing.h"

#include <string_view>

#include "file_system/win32_extended_path.h"

namespace vestro {
namespace {

bool IsSelfOrParent(const wchar_t* name) {
    const std::wstring_view text(name);
    return text == L"." || text == L"..";
}

}  // namespace

FolderListing::FolderListing(const std::wstring& systemFolderPath)
    : pattern_(JoinWithBackslash(systemFolderPath, L"*")) {}

DWORD FolderListing::Next() {
    for (;;) {
        const DWORD error = Advance();
        if (error != ERROR_SUCCESS || !IsSelfOrParent(entry_.cFileName)) {
            return error;
        }
    }
}

DWORD FolderListing::Advance() {
    if (started_) {
        if (!handle_) {
            return ERROR_NO_MORE_FILES;
        }
        return FindNextFileW(handle_.Get(), &entry_) ? ERROR_SUCCESS : GetLastError();
    }
    started_ = true;
    handle_.Reset(FindFirstFileExW(pattern_.c_str(), FindExInfoBasic, &entry_,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!handle_) {
        const DWORD error = GetLastError();
        // A drive's empty root lists nothing at all, not even ".".
        return error == ERROR_FILE_NOT_FOUND ? ERROR_NO_MORE_FILES : error;
    }
    return ERROR_SUCCESS;
}

}  // namespace vestro
