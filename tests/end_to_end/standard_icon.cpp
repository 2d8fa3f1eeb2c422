#include "standard_icon.h"

#include <algorithm>
#include <array>
#include <optional>

#include "bounded_wait.h"
#include "scenario_failure.h"
#include "screen_capture.h"

namespace vestro::end_to_end {
namespace {

struct Candidate {
    StandardIcon icon;
    const wchar_t* resource;
};

const std::array kCandidates{
    Candidate{StandardIcon::Information, IDI_INFORMATION},
    Candidate{StandardIcon::Exclamation, IDI_EXCLAMATION},
    Candidate{StandardIcon::Error, IDI_ERROR},
    Candidate{StandardIcon::Question, IDI_QUESTION},
};

// Share of pixels that may differ for a match, and must differ for every other icon: room for
// the edges of a smoothed icon, far below the difference between two standard icons.
constexpr double kMatchTolerance = 0.02;
constexpr double kOtherIconDistance = 0.10;

double DifferingShare(const Picture& first, const Picture& second) {
    if (first.pixels.size() != second.pixels.size() || first.pixels.empty()) {
        return 1.0;
    }
    std::size_t differing = 0;
    for (std::size_t index = 0; index < first.pixels.size(); ++index) {
        differing += first.pixels[index] != second.pixels[index] ? 1 : 0;
    }
    return static_cast<double>(differing) / static_cast<double>(first.pixels.size());
}

struct Comparison {
    std::optional<StandardIcon> match;
    std::wstring distances;
};

Comparison CompareWithStandardIcons(HWND iconControl) {
    RECT area{};
    GetWindowRect(iconControl, &area);
    const Picture shown = CaptureScreen(area);
    Comparison comparison;
    if (shown.pixels.empty()) {
        comparison.distances = L"no pixels captured";
        return comparison;
    }
    // The icon's corners are transparent: they show the background it was drawn over.
    const std::uint32_t background = shown.pixels.front();
    std::array<double, kCandidates.size()> shares{};
    for (std::size_t index = 0; index < kCandidates.size(); ++index) {
        const Picture drawn = RenderIcon(LoadIconW(nullptr, kCandidates[index].resource),
                                         shown.width, shown.height, background);
        shares[index] = DifferingShare(shown, drawn);
        comparison.distances += NameOf(kCandidates[index].icon) + L" " +
                                std::to_wstring(static_cast<int>(shares[index] * 100)) + L"% ";
    }
    const auto bestIndex =
        static_cast<std::size_t>(std::min_element(shares.begin(), shares.end()) - shares.begin());
    bool othersFar = true;
    for (std::size_t index = 0; index < shares.size(); ++index) {
        othersFar = othersFar && (index == bestIndex || shares[index] >= kOtherIconDistance);
    }
    if (shares[bestIndex] <= kMatchTolerance && othersFar) {
        comparison.match = kCandidates[bestIndex].icon;
    }
    return comparison;
}

}  // namespace

std::wstring NameOf(StandardIcon icon) {
    switch (icon) {
        case StandardIcon::Information:
            return L"information";
        case StandardIcon::Exclamation:
            return L"exclamation";
        case StandardIcon::Error:
            return L"error";
        case StandardIcon::Question:
            return L"question";
    }
    return L"unknown";
}

StandardIcon RecogniseStandardIcon(HWND iconControl) {
    HWND dialog = GetAncestor(iconControl, GA_ROOT);
    Comparison last;
    std::optional<StandardIcon> recognised;
    WaitUntil(
        [&] {
            // Another scenario's window may lie on top of this one at the same place.
            SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            last = CompareWithStandardIcons(iconControl);
            recognised = last.match;
            return recognised.has_value();
        },
        kWindowTimeout);
    if (!recognised) {
        Fail(L"The message's icon is none of the standard icons (pixels differing: " +
             last.distances + L").");
    }
    return *recognised;
}

}  // namespace vestro::end_to_end
