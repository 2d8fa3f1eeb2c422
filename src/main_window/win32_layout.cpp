#include "main_window/win32_layout.h"

#include <algorithm>

namespace vestro {

RECT ControlRectangle(const ControlLayout& control, UINT dpi) {
    int left = control.left;
    int top = control.top;
    if (control.id != ControlId::Frame1) {
        const ControlLayout& frame = LayoutOf(ControlId::Frame1);
        left += frame.left;
        top += frame.top;
    }
    // Converting the sum, not each part, keeps every edge within half a pixel of the design.
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return RECT{x, y, x + TwipsToPixels(control.width, dpi),
                y + TwipsToPixels(control.height, dpi)};
}

const ControlLayout& LayoutOf(ControlId id) {
    return *std::ranges::find(kLayout, id, &ControlLayout::id);
}

}  // namespace vestro
