#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vestro {

// Where an open item lies as the system reached it: the serial number of its volume and its
// path on that volume, read whatever its length. Wine's final-path call gives up at about 300
// characters; this one does not, and it too shows where a Unix link to a file leads.
struct ItemLocation {
    DWORD volume = 0;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
};

ItemLocation LocationOf(HANDLE item);
// The same for the item at the path, links followed.
ItemLocation LocationOfPath(const std::wstring& systemPath);

// Where an entry of the folder lies when it is no link: in the folder, under its own name.
ItemLocation LocationInside(const ItemLocation& folder, std::wstring_view name);

// Letter case aside, as Windows compares names.
bool IsSameLocation(const ItemLocation& left, const ItemLocation& right);

}  // namespace vestro
