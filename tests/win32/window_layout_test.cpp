#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

struct ExpectedControl {
    ControlId id;
    const wchar_t* className;
    const wchar_t* text;
    RECT box;  // in the window's client area: left, top, right, bottom
};

RECT Box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

// The design in pixels at 96 DPI; the controls inside Frame1 are offset by its origin (8, 0).
const ExpectedControl kAt96Dpi[] = {
    {ControlId::Frame1, L"Button", L"", Box(8, 0, 545, 137)},
    {ControlId::lblExample, L"Static", kExampleText, Box(8 + 112, 16, 417, 33)},
    {ControlId::lblDestinationPath, L"Static", L"Destination Path:", Box(8 + 16, 54, 81, 13)},
    {ControlId::txtSourcePath, L"Edit", L"", Box(8 + 112, 48, 413, 21)},
    {ControlId::cmdBrowse, L"Button", L"Browse...", Box(8 + 444, 72, 81, 25)},
    {ControlId::cmdOK, L"Button", L"OK", Box(8 + 184, 104, 81, 25)},
    {ControlId::cmdCancel, L"Button", L"Cancel", Box(8 + 280, 104, 81, 25)},
    {ControlId::lblStatus, L"Static", L"lblStatus", Box(8 + 16, 112, 161, 17)},
};

// The same at 144 DPI: ten twips a pixel, halves rounded up.
const ExpectedControl kAt144Dpi[] = {
    {ControlId::Frame1, L"Button", L"", Box(12, 0, 818, 206)},
    {ControlId::lblExample, L"Static", kExampleText, Box(180, 24, 626, 50)},
    {ControlId::lblDestinationPath, L"Static", L"Destination Path:", Box(36, 81, 122, 20)},
    {ControlId::txtSourcePath, L"Edit", L"", Box(180, 72, 620, 32)},
    {ControlId::cmdBrowse, L"Button", L"Browse...", Box(678, 108, 122, 38)},
    {ControlId::cmdOK, L"Button", L"OK", Box(288, 156, 122, 38)},
    {ControlId::cmdCancel, L"Button", L"Cancel", Box(432, 156, 122, 38)},
    {ControlId::lblStatus, L"Static", L"lblStatus", Box(36, 168, 242, 26)},
};

std::wstring ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

class WindowLayoutTest : public WindowTest {
  protected:
    RECT ClientBoxOf(ControlId id) const {
        RECT box{};
        GetWindowRect(ControlOf(id), &box);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&box), 2);
        return box;
    }

    void ExpectBoxes(const ExpectedControl (&expected)[8]) const {
        for (const ExpectedControl& control : expected) {
            const RECT box = ClientBoxOf(control.id);
            SCOPED_TRACE(control.text);
            EXPECT_EQ(control.box.left, box.left);
            EXPECT_EQ(control.box.top, box.top);
            EXPECT_EQ(control.box.right, box.right);
            EXPECT_EQ(control.box.bottom, box.bottom);
        }
    }
};

TEST_F(WindowLayoutTest, WindowHasItsCaptionAndTheDesignedClientAreaAt96Dpi) {
    ASSERT_EQ(96u, GetDpiForWindow(Handle())) << "the layout is checked at 96 DPI";
    wchar_t caption[64] = {};
    GetWindowTextW(Handle(), caption, 64);
    EXPECT_STREQ(L"Copy Vestro Files", caption);

    RECT client{};
    GetClientRect(Handle(), &client);
    EXPECT_EQ(559, client.right);
    EXPECT_EQ(144, client.bottom);
}

TEST_F(WindowLayoutTest, EveryControlHasItsKindTextAndBoxAt96Dpi) {
    ASSERT_EQ(96u, GetDpiForWindow(Handle()));
    for (const ExpectedControl& control : kAt96Dpi) {
        SCOPED_TRACE(control.text);
        ASSERT_NE(nullptr, ControlOf(control.id));
        EXPECT_EQ(0, _wcsicmp(control.className, ClassNameOf(ControlOf(control.id)).c_str()));
        EXPECT_EQ(control.text, TextOf(control.id));
    }
    ExpectBoxes(kAt96Dpi);
}

TEST_F(WindowLayoutTest, Frame1IsACaptionlessGroupBoxDrawnBehindTheOtherControls) {
    const HWND frame = ControlOf(ControlId::Frame1);
    EXPECT_EQ(BS_GROUPBOX, GetWindowLongPtrW(frame, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(nullptr, GetWindow(frame, GW_HWNDNEXT)) << "Frame1 is not at the bottom";
    EXPECT_NE(0, GetWindowLongPtrW(frame, GWL_STYLE) & WS_CLIPSIBLINGS)
        << "Frame1 would paint over the controls above it";
}

TEST_F(WindowLayoutTest, ControlsStartInTheirDesignTimeStates) {
    EXPECT_TRUE(IsEnabled(ControlId::txtSourcePath));
    EXPECT_TRUE(IsEnabled(ControlId::cmdBrowse));
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK));
    EXPECT_TRUE(IsEnabled(ControlId::cmdCancel));
    EXPECT_EQ(L"lblStatus", TextOf(ControlId::lblStatus));
}

TEST_F(WindowLayoutTest, TabGoesThroughPathBoxBrowseOKCancelAndRoundAgain) {
    WriteFile(temporary.Child(L"any.txt"), "x");
    window->SetSourcePathText(temporary.Text(L"any.txt"));  // enables OK, so Tab can reach it
    ASSERT_TRUE(IsEnabled(ControlId::cmdOK));

    const ControlId order[] = {ControlId::txtSourcePath, ControlId::cmdBrowse, ControlId::cmdOK,
                               ControlId::cmdCancel, ControlId::txtSourcePath};
    EXPECT_EQ(ControlOf(ControlId::txtSourcePath), GetNextDlgTabItem(Handle(), nullptr, FALSE))
        << "the path box is the first to take the focus";
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(ControlOf(order[i + 1]), GetNextDlgTabItem(Handle(), ControlOf(order[i]), FALSE))
            << "after control " << static_cast<int>(order[i]);
    }
}

TEST_F(WindowLayoutTest, ANewDpiScalesEveryControlFromTheTwips) {
    // What Windows sends when the window moves to a monitor at 150 %.
    RECT suggested{100, 100, 100 + 900, 100 + 300};
    SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    ExpectBoxes(kAt144Dpi);
}

TEST_F(WindowLayoutTest, WindowClassCarriesTheBigAndTheSmallIcon) {
    const auto bigIcon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle(), GCLP_HICON));
    const auto smallIcon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle(), GCLP_HICONSM));
    ASSERT_NE(nullptr, bigIcon);
    ASSERT_NE(nullptr, smallIcon);
    for (auto [icon, size] : {std::pair{bigIcon, 32}, std::pair{smallIcon, 16}}) {
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(size, mask.bmWidth);
        DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr) {
            DeleteObject(info.hbmColor);
        }
    }
}

}  // namespace
}  // namespace vestro::testing
