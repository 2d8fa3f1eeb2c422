#pragma once

#include <cstdint>
#include <string>

#include "file_system/file_system.h"

namespace vestro {

// Refuses, before anything is written, a copy whose files to write (each rounded up to the
// allocation unit) and folders do not fit in the room left to the user on the folder's volume;
// the description names the volume and both amounts.
Status CheckRoom(FileSystem& fileSystem, const std::wstring& folder, const CopySize& size);

// An amount of bytes as Windows shows it (KB, MB, GB of 1,024), with one decimal, or as many
// more as it takes to tell it from the other amount.
std::wstring AmountText(std::uint64_t bytes, std::uint64_t other);

}  // namespace vestro
