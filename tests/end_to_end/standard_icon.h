#pragma once

#include <windows.h>

#include <string>

namespace vestro::end_to_end {

enum class StandardIcon { Information, Exclamation, Error, Question };

std::wstring NameOf(StandardIcon icon);

// Which of the system's standard icons an icon control of another process shows. Icon handles
// cannot be compared across processes (under Wine each process loads its own copy), so this
// compares the pixels on the screen with the standard icons drawn over the same background. Waits,
// bounded, until the control is painted and not covered; fails when no standard icon matches.
StandardIcon RecogniseStandardIcon(HWND iconControl);

}  // namespace vestro::end_to_end
