#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace vestro {

// How long the file-system services wait for another program to let go of an item it holds for
// a moment (a virus scanner or the search indexer opens every new file), and the clock they wait
// on. The clock and the sleep may be called from several threads at once.
struct HoldWait {
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds bound{10'000};  // per item, from its first try
    std::function<Clock::time_point()> now = [] { return Clock::now(); };
    std::function<void(std::chrono::milliseconds)> sleep = [](std::chrono::milliseconds pause) {
        std::this_thread::sleep_for(pause);
    };
};

// Makes the call until its answer is not one isHeld takes for a hold (success included), or the
// wait's bound has passed since the first try; returns the last answer. The pause between tries
// starts at a few milliseconds and doubles, up to a quarter of a second: a brief hold costs
// little, a long one few tries.
template <typename Call, typename IsHeld>
auto RetryWhileHeld(const HoldWait& wait, Call&& call, IsHeld&& isHeld) -> decltype(call()) {
    constexpr std::chrono::milliseconds kFirstPause{4};
    constexpr std::chrono::milliseconds kLongestPause{250};
    const HoldWait::Clock::time_point deadline = wait.now() + wait.bound;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        auto answer = call();
        const HoldWait::Clock::time_point now = wait.now();
        if (!isHeld(answer) || now >= deadline) {
            return answer;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        wait.sleep(std::min(pause, left));
        pause = std::min(pause * 2, kLongestPause);
    }
}

}  // namespace vestro
