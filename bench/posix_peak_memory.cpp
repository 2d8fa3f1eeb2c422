#include <sys/resource.h>

#include "peak_memory.h"

namespace vestro::bench {

std::uint64_t PeakResidentBytes() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) {
        return 0;
    }
    // Linux reports kibibytes.
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}

}  // namespace vestro::bench
