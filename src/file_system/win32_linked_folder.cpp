#include "win32_linked_folder.h"

#include "file_system/win32_owned_handle.h"

namespace vestro {

DWORD ReadReparseTag(const std::wstring& systemPath) {
    WIN32_FIND_DATAW entry{};
    const OwnedFindHandle listing(FindFirstFileExW(systemPath.c_str(), FindExInfoBasic, &entry,
                                                   FindExSearchNameMatch, nullptr, 0));
    if (!listing) {
        return 0;
    }
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? entry.dwReserved0 : 0;
}

}  // namespace vestro
