#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace vestro::end_to_end {

std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// Children, their children and so on, in the order the system lists them.
std::vector<HWND> DescendantsOf(HWND parent);

// The first descendant that matches, or nullptr.
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& matches);

bool IsDialogWindow(HWND window);

}  // namespace vestro::end_to_end
