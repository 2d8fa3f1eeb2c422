#pragma once

#include <string_view>

#include "file_system/status.h"

namespace vestro {

// Why a tree is not copied: a link inside it leads out of it. The program runs elevated, and a
// link like that in Data would carry other folders, or other users' files, into the client's.
Status LinkLeadsOutside(std::wstring_view tree, std::wstring_view link, std::wstring_view target);

// Why a tree cannot be read: a file stands where the folder should be.
Status FileWhereFolderBelongs(std::wstring_view folder);

}  // namespace vestro
