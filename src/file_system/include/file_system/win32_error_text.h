#pragma once

#include <string>
#include <string_view>

#include "file_system/status.h"

namespace vestro {

// The system's own sentence for a Win32 error code, such as "Access is denied.", without the line
// break FormatMessageW ends it with.
std::wstring Win32ErrorText(unsigned long error);

// A failure with the Win32 error code, described as the action that could not be done, a colon
// and the system's reason: `Could not delete the folder "C:\x": Access is denied.`
Status Win32Failure(unsigned long error, const std::wstring& action);

}  // namespace vestro
