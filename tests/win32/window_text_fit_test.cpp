#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "main_window/user_texts.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

// Room a push button's edge and focus rectangle take from its text, per side.
constexpr int kButtonEdge = 3;

// Measures what each control really shows, with the font it really has, against its real box.
class WindowTextFitTest : public WindowTest {
  protected:
    struct Measured {
        SIZE needed;
        SIZE room;
        int lineHeight;
    };

    Measured Measure(ControlId id, const std::wstring& text, bool wraps, RECT room) const {
        const HWND control = ControlOf(id);
        HDC context = GetDC(control);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ previous = SelectObject(context, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(context, &metrics);
        RECT needed{0, 0, room.right - room.left, 0};
        DrawTextW(
            context, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(context, previous);
        ReleaseDC(control, context);
        return {SIZE{needed.right, needed.bottom},
                SIZE{room.right - room.left, room.bottom - room.top}, metrics.tmHeight};
    }

    RECT ClientOf(ControlId id) const {
        RECT client{};
        GetClientRect(ControlOf(id), &client);
        return client;
    }

    void ExpectLabelFits(ControlId id, const std::wstring& text) const {
        const Measured measured = Measure(id, text, true, ClientOf(id));
        EXPECT_LE(measured.needed.cx, measured.room.cx) << "too wide: " << text;
        EXPECT_LE(measured.needed.cy, measured.room.cy) << "too high: " << text;
    }

    void ExpectButtonFits(ControlId id) const {
        RECT room = ClientOf(id);
        InflateRect(&room, -kButtonEdge, -kButtonEdge);
        const Measured measured = Measure(id, TextOf(id), false, room);
        EXPECT_LE(measured.needed.cx, measured.room.cx) << "control " << static_cast<int>(id);
        EXPECT_LE(measured.needed.cy, measured.room.cy) << "control " << static_cast<int>(id);
    }

    void ExpectPathBoxFits(const std::wstring& path) const {
        RECT formatting{};
        SendMessageW(ControlOf(ControlId::txtSourcePath), EM_GETRECT, 0,
                     reinterpret_cast<LPARAM>(&formatting));
        const Measured measured = Measure(ControlId::txtSourcePath, path, false, formatting);
        EXPECT_LE(measured.needed.cx, measured.room.cx);
        EXPECT_LE(measured.lineHeight, measured.room.cy);
    }

    void ExpectEveryTextFits() {
        ExpectLabelFits(ControlId::lblExample, kExampleText);
        ExpectLabelFits(ControlId::lblDestinationPath, L"Destination Path:");
        ExpectLabelFits(ControlId::lblStatus, L"lblStatus");
        ExpectLabelFits(ControlId::lblStatus, kCopyingStatus);
        ExpectButtonFits(ControlId::cmdBrowse);
        ExpectButtonFits(ControlId::cmdOK);
        ExpectButtonFits(ControlId::cmdCancel);
        ExpectPathBoxFits(L"C:\\Program Files (x86)\\Tarno\\Tarno.exe");
    }

    COLORREF TextColourOf(ControlId id) {
        HDC context = CreateCompatibleDC(nullptr);
        SetTextColor(context, RGB(1, 2, 3));
        SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                     reinterpret_cast<LPARAM>(ControlOf(id)));
        const COLORREF colour = GetTextColor(context);
        DeleteDC(context);
        return colour;
    }
};

TEST_F(WindowTextFitTest, EveryTextFitsItsControlAt96Dpi) {
    ASSERT_EQ(96u, GetDpiForWindow(Handle()));
    ExpectEveryTextFits();
}

TEST_F(WindowTextFitTest, EveryTextStillFitsAfterMovingTo144Dpi) {
    RECT suggested{0, 0, 900, 300};
    SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    ExpectEveryTextFits();
}

TEST_F(WindowTextFitTest, ExampleTextWrapsIntoTwoLines) {
    const Measured measured =
        Measure(ControlId::lblExample, kExampleText, true, ClientOf(ControlId::lblExample));
    EXPECT_EQ(2, measured.needed.cy / measured.lineHeight);
}

TEST_F(WindowTextFitTest, AllControlsShareOneFont) {
    const auto font = SendMessageW(ControlOf(ControlId::lblExample), WM_GETFONT, 0, 0);
    ASSERT_NE(0, font);
    for (const ControlLayout& control : kLayout) {
        EXPECT_EQ(font, SendMessageW(ControlOf(control.id), WM_GETFONT, 0, 0))
            << "control " << static_cast<int>(control.id);
    }
}

TEST_F(WindowTextFitTest, ExampleIsDarkRedStatusBlueOtherLabelsKeepThePlatformColour) {
    EXPECT_EQ(RGB(128, 0, 0), TextColourOf(ControlId::lblExample));
    EXPECT_EQ(RGB(0, 0, 255), TextColourOf(ControlId::lblStatus));
    EXPECT_EQ(RGB(1, 2, 3), TextColourOf(ControlId::lblDestinationPath));
}

TEST_F(WindowTextFitTest, LabelsAreDrawnOnTheDialogBackground) {
    HDC context = CreateCompatibleDC(nullptr);
    const auto brush = SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                                    reinterpret_cast<LPARAM>(ControlOf(ControlId::lblStatus)));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetBkColor(context));
    DeleteDC(context);
    LOGBRUSH drawn{};
    ASSERT_NE(0, GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(drawn), &drawn));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), drawn.lbColor);
}

}  // namespace
}  // namespace vestro::testing
