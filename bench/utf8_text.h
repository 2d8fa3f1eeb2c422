#pragma once

#include <string>
#include <string_view>

namespace vestro::bench {

// Wide path text as UTF-8 bytes, for the console and the records file.
std::string Utf8(std::wstring_view text);

}  // namespace vestro::bench
