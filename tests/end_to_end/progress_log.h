#pragma once

#include <string_view>

namespace vestro::end_to_end {

// One line in the scenario's log, stamped with the seconds since the driver started: when a
// scenario fails, the log shows how far it came and where the time went.
void LogStep(std::wstring_view step);

}  // namespace vestro::end_to_end
