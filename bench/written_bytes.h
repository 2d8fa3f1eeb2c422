#pragma once

#include <cstdint>
#include <optional>

namespace vestro::bench {

// The bytes this process and its ended children have sent towards storage so far, or nothing
// where the system does not count them. Natively the kernel counts a page when it is first
// dirtied, so a write counts even when the run ends before the disk has it.
std::optional<std::uint64_t> BytesWrittenToStorage();

}  // namespace vestro::bench
