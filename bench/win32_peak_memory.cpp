#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

#include "peak_memory.h"

namespace vestro::bench {

std::uint64_t PeakResidentBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        return 0;
    }
    return counters.PeakWorkingSetSize;
}

}  // namespace vestro::bench
