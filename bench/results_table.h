#pragma once

#include <ostream>

#include "run_record.h"

namespace vestro::bench {

// One table per platform: medians of the timed runs of each side, ours against the fastest
// baseline, our throughput, peak memory and bytes written, the pool sizes tried; then the closing
// lines "ratio small: X  ratio large: Y  peak rss MiB: Z", "ratio deep: D  wine ratio small: W",
// the ratios to success, the Wine floor ratios, "redeploy ratio: R (checksum peer)  S (staged
// peer)" and the share of Data's bytes ours wrote on the redeploy set.
void PrintResultsTable(const Records& records, std::ostream& out);

}  // namespace vestro::bench
