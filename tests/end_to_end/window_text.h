#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vestro::end_to_end {

// Another process's window text, asked with WM_GETTEXT as a screen reader does.
std::wstring ReadText(HWND window);

// Puts text into an edit control the way typing does: the control tells its parent EN_CHANGE.
void PutText(HWND edit, const std::wstring& text);

// A top-level window's caption, read without waiting for the window's thread, which may be busy.
std::wstring CaptionOf(HWND window);

std::wstring ClassNameOf(HWND window);
// Class names compare without regard to case: "Static" and "STATIC" are one class.
bool HasClass(HWND window, std::wstring_view className);

}  // namespace vestro::end_to_end
