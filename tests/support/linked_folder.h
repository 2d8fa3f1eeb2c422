#pragma once

#include <filesystem>

namespace vestro::testing {

// Makes link a symbolic link to the folder target. Under Wine, which cannot make Windows links,
// a Unix link inside the prefix does the job: Windows code sees a folder with the reparse-point
// attribute. Throws when no link can be made, so a test never passes without one.
void MakeLinkedFolder(const std::filesystem::path& link, const std::filesystem::path& target);

}  // namespace vestro::testing
