#pragma once

#include <windows.h>

#include <string>

namespace vestro {

// What tells a folder apart from every other: its volume and its number there. A path through a
// linked folder gives the identity of the folder the link points to.
struct FolderIdentity {
    DWORD volume = 0;
    ULONGLONG index = 0;

    bool operator==(const FolderIdentity&) const = default;
};

struct FolderIdentityReading {
    FolderIdentity identity;
    DWORD error = ERROR_SUCCESS;
};

FolderIdentityReading ReadFolderIdentity(const std::wstring& systemPath);

}  // namespace vestro
