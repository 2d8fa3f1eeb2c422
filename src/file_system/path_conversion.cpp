#include "file_system/path_conversion.h"

namespace vestro {

#ifdef _WIN32

std::filesystem::path ToFileSystemPath(std::wstring_view text) {
    return std::filesystem::path(text);
}

std::wstring ToPathText(const std::filesystem::path& path) {
    return path.native();
}

#else

namespace {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Bytes that are not valid UTF-8 are kept as U+DC80..U+DCFF, so every name converts back
// to the bytes it came from.
constexpr char32_t kEscapedByteBase = 0xDC00;

}  // namespace

std::filesystem::path ToFileSystemPath(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t character : text) {
        const auto code = static_cast<char32_t>(character);
        if (code >= kEscapedByteBase + 0x80 && code <= kEscapedByteBase + 0xFF) {
            bytes.push_back(static_cast<char>(code - kEscapedByteBase));
        } else {
            AppendUtf8(bytes, code);
        }
    }
    return std::filesystem::path(std::move(bytes));
}

std::wstring ToPathText(const std::filesystem::path& path) {
    const std::string& bytes = path.native();
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t index = 0; index < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[index]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        bool valid = length != 0 && index + length <= bytes.size();
        char32_t code = length == 1   ? lead
                        : length == 2 ? (lead & 0x1F)
                        : length == 3 ? (lead & 0x0F)
                                      : (lead & 0x07);
        for (std::size_t offset = 1; valid && offset < length; ++offset) {
            const auto next = static_cast<unsigned char>(bytes[index + offset]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            text.push_back(static_cast<wchar_t>(kEscapedByteBase + lead));
            ++index;
            continue;
        }
        text.push_back(static_cast<wchar_t>(code));
        index += length;
    }
    return text;
}

#endif

}  // namespace vestro
