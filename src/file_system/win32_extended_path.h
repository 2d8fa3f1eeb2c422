#pragma once

#include <string>
#include <string_view>

namespace vestro {

// The form of a path that the system takes at any length: absolute, with backslashes, "\\?\" in
// front ("\\?\UNC\server\share\..." for a share). Text that cannot name an item gives the Win32
// error that says why instead.
struct ExtendedPath {
    std::wstring text;
    unsigned long error = 0;
};

ExtendedPath ToExtendedPath(std::wstring_view path);

// folder + "\" + name, without doubling a separator the folder already ends with.
std::wstring JoinWithBackslash(std::wstring_view folder, std::wstring_view name);

}  // namespace vestro
