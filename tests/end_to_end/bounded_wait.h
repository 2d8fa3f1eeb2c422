#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "scenario_failure.h"

namespace vestro::end_to_end {

// How long a scenario waits for what it expects. Generous, because Wine starts programs slowly
// on a busy machine, yet bounded: a scenario never hangs.
inline constexpr std::chrono::milliseconds kProgramStartTimeout{30'000};
inline constexpr std::chrono::milliseconds kWindowTimeout{10'000};
inline constexpr std::chrono::milliseconds kProgramEndTimeout{15'000};

// Asks again and again until the condition holds; false when the time ran out first.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

std::wstring SecondsText(std::chrono::milliseconds duration);

// The first value the probe yields (a probe returns an optional); fails, naming what was awaited,
// when the time runs out first.
template <typename Probe>
auto WaitFor(Probe probe, std::chrono::milliseconds timeout, const std::wstring& what) {
    decltype(probe()) value;
    if (!WaitUntil(
            [&] {
                value = probe();
                return value.has_value();
            },
            timeout)) {
        Fail(L"Waited " + SecondsText(timeout) + L" in vain for " + what + L".");
    }
    return *value;
}

}  // namespace vestro::end_to_end
