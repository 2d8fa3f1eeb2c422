#include "main_window/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "client_location/install_detection.h"
#include "file_system/win32_error_text.h"
#include "main_window/user_texts.h"

namespace vestro {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;
// The progress bar counts in thousandths, as the copy's posts do.
constexpr int kProgressWhole = 1000;

// Room the controls' own borders and margins take from their text, at 96 DPI.
constexpr SIZE kTextBoxInset{8, 4};
constexpr SIZE kButtonInset{8, 6};

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
    }
    return {L"STATIC", 0, 0};
}

// A text that a control must show whole, and the room the control has for it, in pixels.
struct TextRoom {
    std::wstring_view text;
    SIZE room;
    bool wraps;
};

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

bool AllFit(HDC context, const LOGFONTW& candidate, const std::vector<TextRoom>& texts) {
    const OwnedFont font(CreateFontIndirectW(&candidate));
    if (!font) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(context, font.get());
    const bool fit =
        std::ranges::all_of(texts, [context](const TextRoom& text) { return Fits(context, text); });
    SelectObject(context, previous);
    return fit;
}

// The one font for every control at this DPI: the platform's message font if all texts fit it,
// else "MS Sans Serif" 8 pt, the face the window's layout was drawn for, else the message face
// made smaller a pixel at a time. Nothing fitting at all gives the smallest candidate.
LOGFONTW ChooseFittingFont(const std::vector<TextRoom>& texts, UINT dpi) {
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

int TwipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

const ControlLayout& LayoutOf(ControlId id) {
    return *std::ranges::find(kLayout, id, &ControlLayout::id);
}

// The control's box in client pixels.
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

SIZE Shrunk(const RECT& box, SIZE inset, UINT dpi) {
    const int scale = static_cast<int>(dpi);
    return SIZE{box.right - box.left - MulDiv(inset.cx, scale, USER_DEFAULT_SCREEN_DPI),
                box.bottom - box.top - MulDiv(inset.cy, scale, USER_DEFAULT_SCREEN_DPI)};
}

// Every text each control shows, at design time or later, with the room it has for it.
std::vector<TextRoom> TextRooms(UINT dpi) {
    std::vector<TextRoom> rooms;
    for (const ControlLayout& control : kLayout) {
        const RECT box = ControlRectangle(control, dpi);
        switch (control.kind) {
            case ControlKind::Frame:
            case ControlKind::ProgressBar:
                break;
            case ControlKind::Label:
                rooms.push_back({control.designText, Shrunk(box, {0, 0}, dpi), true});
                break;
            case ControlKind::TextBox:
                // The longer of the paths the install detection fills in.
                rooms.push_back(
                    {kInstallCandidates.back(), Shrunk(box, kTextBoxInset, dpi), false});
                break;
            case ControlKind::Button:
                rooms.push_back({control.designText, Shrunk(box, kButtonInset, dpi), false});
                break;
        }
    }
    const RECT status = ControlRectangle(LayoutOf(ControlId::lblStatus), dpi);
    rooms.push_back({kCopyingStatus, Shrunk(status, {0, 0}, dpi), true});
    return rooms;
}

POINT CentredOn(HMONITOR monitor, SIZE size) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    return POINT{area.left + (area.right - area.left - size.cx) / 2,
                 area.top + (area.bottom - area.top - size.cy) / 2};
}

}  // namespace

Status Win32Form::Create(HWND window) {
    window_ = window;
    dpi_ = GetDpiForWindow(window);
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    // Creation order is the tab order.
    for (int tabIndex = 0; tabIndex < static_cast<int>(std::size(kLayout)); ++tabIndex) {
        for (const ControlLayout& control : kLayout) {
            if (control.tabIndex != tabIndex) {
                continue;
            }
            if (Status created = CreateControl(instance, control, WS_VISIBLE); created.Failed()) {
                return created;
            }
        }
    }
    // Hidden until a copy runs.
    if (Status created = CreateControl(instance, kCopyProgressLayout, 0); created.Failed()) {
        return created;
    }
    SendMessageW(Control(ControlId::prgCopyProgress), PBM_SETRANGE32, 0, kProgressWhole);
    // Frame1 holds the others, so it is drawn first and, clipped by them, never paints over them.
    SetWindowPos(Control(ControlId::Frame1), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyFont();
    PlaceControls();
    SizeWindow(std::nullopt);
    return Status::Success();
}

void Win32Form::Rescale(UINT dpi, POINT topLeft) {
    dpi_ = dpi;
    ApplyFont();
    PlaceControls();
    SizeWindow(topLeft);
}

// visibility: WS_VISIBLE, or 0 for a control hidden at first.
Status Win32Form::CreateControl(HINSTANCE instance, const ControlLayout& control,
                                DWORD visibility) {
    const ControlClass kind = ClassOf(control.kind);
    const DWORD style =
        WS_CHILD | visibility | WS_CLIPSIBLINGS | kind.style | (control.enabled ? 0 : WS_DISABLED);
    const HWND created = CreateWindowExW(
        kind.extendedStyle, kind.name, control.designText, style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    return created == nullptr ? Win32Failure(GetLastError(), kControlsNotCreated)
                              : Status::Success();
}

void Win32Form::ApplyFont() {
    const LOGFONTW chosen = ChooseFittingFont(TextRooms(dpi_), dpi_);
    OwnedFont font(CreateFontIndirectW(&chosen));
    if (!font) {
        return;
    }
    for (const ControlLayout& control : kLayout) {
        SendMessageW(Control(control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // The controls have let go of the old font: it may go now.
    font_ = std::move(font);
}

void Win32Form::PlaceControls() {
    const auto place = [this](const ControlLayout& control) {
        const RECT box = ControlRectangle(control, dpi_);
        MoveWindow(Control(control.id), box.left, box.top, box.right - box.left,
                   box.bottom - box.top, TRUE);
    };
    std::ranges::for_each(kLayout, place);
    place(kCopyProgressLayout);
}

void Win32Form::SizeWindow(std::optional<POINT> topLeft) {
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
               TwipsToPixels(kClientHeightTwips, dpi_)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)), dpi_);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    if (!topLeft) {
        topLeft = CentredOn(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), size);
    }
    SetWindowPos(window_, nullptr, topLeft->x, topLeft->y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vestro
