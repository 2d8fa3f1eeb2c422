#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "file_system/status.h"

namespace vestro {

// Win32Failure; for a hold that outlasted the wait, the description also names the programs
// that hold the files (extended-length paths), as far as the Restart Manager tells.
Status Win32HeldItemFailure(DWORD error, const std::wstring& action,
                            const std::vector<std::wstring>& systemFiles);

// The files of a folder's tree, up to a bound: a folder is held through the files open inside.
std::vector<std::wstring> FilesBelow(const std::wstring& systemFolder);

}  // namespace vestro
