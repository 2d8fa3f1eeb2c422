#include "win32_item_location.h"

#include <cstddef>
#include <vector>

#include "file_system/win32_extended_path.h"
#include "file_system/win32_owned_handle.h"

namespace vestro {

ItemLocation LocationOf(HANDLE item) {
    ItemLocation location;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(item, &information)) {
        location.error = GetLastError();
        return location;
    }
    location.volume = information.dwVolumeSerialNumber;
    // Too small a buffer still gets the name's length: one more call reads it whole.
    std::vector<std::byte> buffer(sizeof(FILE_NAME_INFO) + MAX_PATH * sizeof(wchar_t));
    for (;;) {
        auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
        const BOOL read = GetFileInformationByHandleEx(item, FileNameInfo, name,
                                                       static_cast<DWORD>(buffer.size()));
        const DWORD error = read ? ERROR_SUCCESS : GetLastError();
        const std::size_t needed = sizeof(FILE_NAME_INFO) + name->FileNameLength;
        if (error == ERROR_SUCCESS) {
            location.path.assign(name->FileName, name->FileNameLength / sizeof(wchar_t));
            return location;
        }
        if ((error != ERROR_MORE_DATA && error != ERROR_INSUFFICIENT_BUFFER) ||
            needed <= buffer.size()) {
            location.error = error;
            return location;
        }
        buffer.resize(needed);
    }
}

ItemLocation LocationOfPath(const std::wstring& systemPath) {
    const OwnedHandle opened = OpenToReadAttributes(systemPath);
    if (!opened) {
        return {0, {}, GetLastError()};
    }
    return LocationOf(opened.Get());
}

ItemLocation LocationInside(const ItemLocation& folder, std::wstring_view name) {
    return {folder.volume, JoinWithBackslash(folder.path, name), folder.error};
}

bool IsSameLocation(const ItemLocation& left, const ItemLocation& right) {
    return left.volume == right.volume &&
           CompareStringOrdinal(left.path.c_str(), static_cast<int>(left.path.size()),
                                right.path.c_str(), static_cast<int>(right.path.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace vestro
