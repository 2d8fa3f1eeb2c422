#pragma once

#include <string>
#include <string_view>

namespace vestro::end_to_end {

std::string ToUtf8(std::wstring_view text);

// One line on standard output, in UTF-8 whatever the console's code page: the log is read on
// Linux as often as on Windows.
void PrintLine(std::wstring_view text);

}  // namespace vestro::end_to_end
