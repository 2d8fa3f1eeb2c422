#pragma once

#include <optional>
#include <string>

#include "client_location/file_dialog.h"

namespace vestro {

// Only files with exactly this name are offered.
inline constexpr wchar_t kClientFileName[] = L"Tarno.exe";
inline constexpr wchar_t kClientFilter[] = L"Tarno.exe|Tarno.exe";
// The chosen file must exist.
inline constexpr unsigned long kFileMustExist = 0x1000;

// Lets the user pick the client executable and returns its path without surrounding spaces.
// A cancel or a failing dialog returns nothing.
std::optional<std::wstring> RunBrowseAction(FileDialog& fileDialog);

}  // namespace vestro
