#pragma once

#include <cstddef>
#include <string>

namespace vestro::end_to_end {

// Bytes that differ from seed to seed and hold every byte value, zero included, so that a copy
// that drops, changes or converts a byte shows.
std::string PatternBytes(int seed, std::size_t size);

// A release of the data set as it lies in Data: files, nested folders and an empty folder.
void WriteNewData(const std::wstring& folder);

// An earlier release as it lies in VestroData: one file of the same name with other contents,
// and files and folders the new release no longer has.
void WriteOldData(const std::wstring& folder);

}  // namespace vestro::end_to_end
