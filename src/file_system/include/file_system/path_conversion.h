#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vestro {

// Path text <-> std::filesystem::path without the C locale: on Linux the bytes are UTF-8
// whatever the environment says, so names such as "Données" survive the trip.
std::filesystem::path ToFileSystemPath(std::wstring_view text);
std::wstring ToPathText(const std::filesystem::path& path);

}  // namespace vestro
