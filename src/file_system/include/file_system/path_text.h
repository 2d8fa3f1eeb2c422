#pragma once

#include <string>
#include <string_view>

namespace vestro {

// The separator this platform's paths are joined with.
#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// The characters that end a folder name in a path: either slash on Windows.
bool IsSeparator(wchar_t character);

// The path box text as a path: a text that, trimmed, starts and ends with a double quote (as the
// system's "Copy as path" puts it) is read without that pair, since no Windows name holds a quote.
// Every other text is returned unchanged, spaces included: the path check asks with them.
std::wstring WithoutPathQuotes(std::wstring_view text);

// The path box text as the copy and the browse action use it: without that pair of quotes and
// without leading and trailing spaces (only spaces: no tabs, no line breaks).
std::wstring CleanPathText(std::wstring_view text);

// folder + separator + name, by plain text joining.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The folder that holds the item: its path up to the last separator.
std::wstring HoldingFolderOf(const std::wstring& path);

// True when inner names the same folder as outer or lies inside it. Compares text only: case is
// ignored on Windows, either slash counts as a separator, and a trailing separator is ignored.
bool IsSameOrInside(std::wstring_view inner, std::wstring_view outer);

// True when inner is, or lies inside, an item whose path starts with the text prefix, compared as
// IsSameOrInside compares: "C:\Data.old\x" starts with "C:\Data.".
bool StartsWithPath(std::wstring_view inner, std::wstring_view prefix);

}  // namespace vestro
