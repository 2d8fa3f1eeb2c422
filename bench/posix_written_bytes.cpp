#include <sys/resource.h>

#include <fstream>
#include <string>

#include "written_bytes.h"

namespace vestro::bench {

std::optional<std::uint64_t> BytesWrittenToStorage() {
    // Ours writes in this process; the threads that have ended are still counted here.
    std::ifstream io("/proc/self/io");
    std::string field;
    std::uint64_t own = 0;
    bool found = false;
    while (!found && io >> field >> own) {
        found = field == "write_bytes:";
    }
    rusage children{};
    if (!found || getrusage(RUSAGE_CHILDREN, &children) != 0) {
        return std::nullopt;
    }
    // A baseline writes in the processes it starts, counted once they have been waited for.
    return own + static_cast<std::uint64_t>(children.ru_oublock) * 512;
}

}  // namespace vestro::bench
