#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "file_system/status.h"

namespace vestro {

// `Could not <action> "<path>"`: the start of every failure description.
std::wstring CouldNot(std::wstring_view action, std::wstring_view path);

// A failure with the error code, described as the action that could not be done, a colon and the
// system's reason: `Could not delete the folder "/x": Permission denied.`
Status PosixFailure(std::error_code error, const std::wstring& action);

}  // namespace vestro
