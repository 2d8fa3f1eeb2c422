#include "win32_linked_folder.h"

namespace vestro {

DWORD ReadReparseTag(const std::wstring& systemPath) {
    WIN32_FIND_DATAW entry{};
    const HANDLE handle = FindFirstFileExW(systemPath.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    FindClose(handle);
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? entry.dwReserved0 : 0;
}

}  // namespace vestro
