#pragma once

#include <string>

namespace vestro::end_to_end {

// One scenario's share of the suite's reliability line.
struct ScenarioResult {
    std::wstring name;
    bool passed = false;
    int badInputs = 0;
    int lostOrMixedData = 0;
};

// key=value lines, which the suite's last test adds up.
void WriteScenarioResult(const std::wstring& file, const ScenarioResult& result);

}  // namespace vestro::end_to_end
