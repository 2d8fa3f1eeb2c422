#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vestro {

class StepHoldBound;

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
    // The step the waits belong to, if they share its bound.
    StepHoldBound* step = nullptr;
};

// One bound for every wait of a step over many items (tidying up, removing old data): the step's
// first hold starts the bound, and every item of the step stops waiting when it has passed, so
// that the step waits no longer for a hundred held items than for one. A step that must not wait
// at all (setting aside what is held) takes each hold for the answer at once. Shared by threads.
class StepHoldBound {
  public:
    // Without waiting, each hold is the answer at once.
    explicit StepHoldBound(bool waiting = true) : waits_(waiting) {}

    bool Waits() const { return waits_; }
    // The step's deadline, set by its first hold as the item's own.
    HoldWait::Clock::time_point Deadline(HoldWait::Clock::time_point itemDeadline) {
        const std::lock_guard lock(mutex_);
        if (!deadline_) {
            deadline_ = itemDeadline;
        }
        return *deadline_;
    }

  private:
    const bool waits_;
    std::mutex mutex_;
    std::optional<HoldWait::Clock::time_point> deadline_;
};

// Makes the call until its answer is not one isHeld takes for a hold (success included), or the
// wait's bound has passed since the first try, or the step's bound; returns the last answer. The
// pause between tries starts at a few milliseconds and doubles, up to a quarter of a second: a
// brief hold costs little, a long one few tries.
template <typename Call, typename IsHeld>
auto RetryWhileHeld(const HoldWait& wait, Call&& call, IsHeld&& isHeld) -> decltype(call()) {
    constexpr std::chrono::milliseconds kFirstPause{4};
    constexpr std::chrono::milliseconds kLongestPause{250};
    HoldWait::Clock::time_point deadline = wait.now() + wait.bound;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        auto answer = call();
        const HoldWait::Clock::time_point now = wait.now();
        // The step's deadline, once its first hold has set it, stays what it is.
        if (wait.step != nullptr && isHeld(answer)) {
            deadline = wait.step->Waits() ? wait.step->Deadline(deadline) : now;
        }
        if (!isHeld(answer) || now >= deadline) {
            return answer;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        wait.sleep(std::min(pause, left));
        pause = std::min(pause * 2, kLongestPause);
    }
}

}  // namespace vestro
