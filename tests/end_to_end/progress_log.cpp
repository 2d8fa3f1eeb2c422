#include "progress_log.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "utf8_text.h"

namespace vestro::end_to_end {
namespace {

const std::chrono::steady_clock::time_point kDriverStart = std::chrono::steady_clock::now();

}  // namespace

void LogStep(std::wstring_view step) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - kDriverStart);
    wchar_t stamp[32];
    std::swprintf(stamp, std::size(stamp), L"[%6.2f s] ",
                  static_cast<double>(elapsed.count()) / 1000.0);
    PrintLine(std::wstring(stamp) + std::wstring(step));
}

}  // namespace vestro::end_to_end
