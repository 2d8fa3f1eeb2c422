#include "utf8_text.h"

#include "file_system/path_conversion.h"

namespace vestro::bench {

std::string Utf8(std::wstring_view text) {
    const std::u8string bytes = ToFileSystemPath(text).u8string();
    return {bytes.begin(), bytes.end()};
}

}  // namespace vestro::bench
