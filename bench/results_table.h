#pragma once

#include <ostream>

#include "run_record.h"

namespace vestro::bench {

// One table per platform: medians of the timed runs of each side, ours against the fastest
// baseline, our throughput and peak memory, the pool sizes tried; then the closing lines
// "ratio small: X  ratio large: Y  peak rss MiB: Z" and "ratio deep: D  wine ratio small: W".
void PrintResultsTable(const Records& records, std::ostream& out);

}  // namespace vestro::bench
