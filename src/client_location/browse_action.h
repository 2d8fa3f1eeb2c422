#pragma once

#include "client_location/file_dialog.h"
#include "main_window/window.h"

namespace vestro {

// Only files with exactly this name are offered.
inline constexpr wchar_t kClientFileName[] = L"Tarno.exe";
inline constexpr wchar_t kClientFilter[] = L"Tarno.exe|Tarno.exe";
// The chosen file must exist.
inline constexpr unsigned long kFileMustExist = 0x1000;

// The Browse click: lets the user pick the client executable and puts its path into the path
// box. A cancel or a failing dialog changes nothing and shows nothing.
void RunBrowseAction(Window& window, FileDialog& commonDialog);

}  // namespace vestro
