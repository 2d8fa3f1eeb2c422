#pragma once

#include <windows.h>

#include <string>

namespace vestro::end_to_end {

// The system's words for an error code, with the code itself.
std::wstring SystemErrorText(DWORD error);

}  // namespace vestro::end_to_end
