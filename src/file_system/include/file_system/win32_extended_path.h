#pragma once

#include <string>
#include <string_view>

namespace vestro {

// What makes a path the extended-length form: "\\?\" (and "\\?\UNC\" for a share).
inline constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";

// The form of a path that the system takes at any length: absolute, with backslashes, "\\?\" in
// front ("\\?\UNC\server\share\..." for a share), resolved as Windows resolves the text
// (GetFullPathNameW: the current folder, "." and "..", trailing spaces and dots of the last name).
// Text that cannot name an item gives the Win32 error that says why instead.
struct ExtendedPath {
    std::wstring text;
    unsigned long error = 0;
    // The text ended with a separator, so only a folder can be found there.
    bool namesFolder = false;
};

ExtendedPath ToExtendedPath(std::wstring_view path);

// The other way, as users write a path: "C:\..." and "\\server\share\...". A path that has
// no such form (a volume's GUID path) keeps its prefix.
std::wstring ToPlainPath(std::wstring_view extended);

// folder + "\" + name, without doubling a separator the folder already ends with.
std::wstring JoinWithBackslash(std::wstring_view folder, std::wstring_view name);

}  // namespace vestro
