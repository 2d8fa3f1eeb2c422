#include "bounded_wait.h"

#include <windows.h>

namespace vestro::end_to_end {
namespace {

constexpr DWORD kPollIntervalMilliseconds = 25;

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        Sleep(kPollIntervalMilliseconds);
    }
}

std::wstring SecondsText(std::chrono::milliseconds duration) {
    return std::to_wstring(duration.count() / 1000) + L" s";
}

}  // namespace vestro::end_to_end
