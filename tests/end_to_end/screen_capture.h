#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vestro::end_to_end {

// Pixels as 0x00RRGGBB, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// What the screen shows in the area, in screen coordinates.
Picture CaptureScreen(const RECT& area);

// Draws into a fresh picture filled with the background colour.
Picture RenderIcon(HICON icon, int width, int height, std::uint32_t background);

// The whole screen as a 24-bit BMP file; false when it could not be written.
bool SaveScreenAsBitmap(const std::wstring& file);

}  // namespace vestro::end_to_end
