#pragma once

#include <span>
#include <string_view>

#include "scenario_context.h"

namespace vestro::end_to_end {

struct Scenario {
    const wchar_t* name;
    // Installs the client in the standard folders under C:\Program Files. Every start of the
    // program probes them, so such a scenario must not run beside any other that does.
    bool usesProgramFiles;
    void (*run)(ScenarioContext& context);
};

std::span<const Scenario> AllScenarios();
// nullptr when there is none of that name.
const Scenario* FindScenario(std::wstring_view name);

}  // namespace vestro::end_to_end
