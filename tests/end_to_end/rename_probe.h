#pragma once

#include <string>

namespace vestro::end_to_end {

// Whether this system refuses to rename a folder while a file inside it is open without delete
// sharing. Windows refuses; Wine 8 renames it. Tried in a scratch folder, removed afterwards.
bool RenameRefusedWhileFileInsideIsOpen(const std::wstring& scratchFolder);

}  // namespace vestro::end_to_end
