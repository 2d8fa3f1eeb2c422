#pragma once

#include <string_view>

#include "file_system/file_system.h"
#include "main_window/window.h"

namespace vestro {

inline constexpr wchar_t kCopyingStatus[] = L"Copying Files.  Please Wait...";
inline constexpr wchar_t kCopySucceededMessage[] = L"Files have been successfully copied.";
inline constexpr wchar_t kCommonNotFoundSuffix[] =
    L" not found.  Files have not been successfully copied.";
inline constexpr wchar_t kCopyFailedPrefix[] =
    L"An error has occurred while trying to copy files.  ";

// The OK click: replaces VestroData in the client's Common folder with a copy of the Data folder
// beside the program, reports the outcome, and closes the window when it succeeded. fso may be
// null when the window could not make one; the attempt then fails like any other.
void RunCopyAction(Window& window, FileSystem* fso, std::wstring_view programFolder);

}  // namespace vestro
