#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace vestro {

// A text that a control must show whole, and the room the control has for it, in pixels.
struct TextRoom {
    std::wstring_view text;
    SIZE room;
    bool wraps;
};

// The one font for every control at this DPI: the platform's message font if all texts fit it,
// else "MS Sans Serif" 8 pt, the face the window's layout was drawn for, else the message face
// made smaller a pixel at a time. Nothing fitting at all gives the smallest candidate.
LOGFONTW ChooseFittingFont(std::span<const TextRoom> texts, UINT dpi);

}  // namespace vestro
