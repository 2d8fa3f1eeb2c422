#pragma once

#include <ostream>

#include "run_record.h"

namespace vestro::bench {

// One table per platform: medians of the timed runs of each side, our throughput and our peak
// memory, then the closing line "ratio small: X  ratio large: Y  peak rss MiB: Z".
void PrintResultsTable(const Records& records, std::ostream& out);

}  // namespace vestro::bench
