#pragma once

#include <cstdint>

namespace vestro::bench {

// The most memory this process has held resident so far, in bytes: ru_maxrss on POSIX, the
// peak working set on Windows.
std::uint64_t PeakResidentBytes();

}  // namespace vestro::bench
