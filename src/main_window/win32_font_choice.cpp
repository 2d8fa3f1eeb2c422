#include "main_window/win32_font_choice.h"

#include <cstdlib>
#include <vector>

namespace vestro {
namespace {

constexpr int kPointsPerInch = 72;

int PointsToHeight(int points, UINT dpi) {
    return -MulDiv(points, static_cast<int>(dpi), kPointsPerInch);
}

LOGFONTW FontOf(const wchar_t* face, int height) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    return FontOf(L"MS Shell Dlg", PointsToHeight(8, dpi));
}

std::vector<LOGFONTW> Candidates(UINT dpi) {
    const LOGFONTW message = MessageFont(dpi);
    std::vector<LOGFONTW> candidates{message, FontOf(L"MS Sans Serif", PointsToHeight(8, dpi))};
    // Below 6 pt the text is no longer readable, whatever fits.
    const int smallest = -PointsToHeight(6, dpi);
    for (int height = std::abs(message.lfHeight) - 1; height >= smallest; --height) {
        LOGFONTW smaller = message;
        smaller.lfHeight = -height;
        smaller.lfWidth = 0;
        candidates.push_back(smaller);
    }
    return candidates;
}

bool Fits(HDC context, const TextRoom& text) {
    RECT needed{0, 0, text.room.cx, 0};
    const UINT format =
        DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (text.wraps ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(context, text.text.data(), static_cast<int>(text.text.size()), &needed, format);
    return needed.right <= text.room.cx && needed.bottom <= text.room.cy;
}

bool AllFit(HDC context, const LOGFONTW& candidate, std::span<const TextRoom> texts) {
    HFONT font = CreateFontIndirectW(&candidate);
    if (font == nullptr) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(context, font);
    bool fits = true;
    for (const TextRoom& text : texts) {
        fits = fits && Fits(context, text);
    }
    SelectObject(context, previous);
    DeleteObject(font);
    return fits;
}

}  // namespace

LOGFONTW ChooseFittingFont(std::span<const TextRoom> texts, UINT dpi) {
    const std::vector<LOGFONTW> candidates = Candidates(dpi);
    HDC context = GetDC(nullptr);
    const LOGFONTW* chosen = &candidates.back();
    for (const LOGFONTW& candidate : candidates) {
        if (AllFit(context, candidate, texts)) {
            chosen = &candidate;
            break;
        }
    }
    ReleaseDC(nullptr, context);
    return *chosen;
}

}  // namespace vestro
