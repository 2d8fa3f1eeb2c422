#pragma once

#include <windows.h>

#include "main_window/user_texts.h"

namespace vestro {

// Child-window ids of frmVestroFile. None is IDOK (1) or IDCANCEL (2): IsDialogMessageW turns
// Enter and Escape into those ids, and neither button answers the keyboard that way.
enum class ControlId : int {
    Frame1 = 1000,
    lblExample,
    lblDestinationPath,
    txtSourcePath,
    cmdBrowse,
    cmdOK,
    cmdCancel,
    lblStatus,
    prgCopyProgress,
};

enum class ControlKind { Frame, Label, TextBox, Button, ProgressBar };

// Marks a control that keeps the platform's text colour.
inline constexpr COLORREF kPlatformTextColour = CLR_INVALID;

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    const wchar_t* designText;
    // Twips. Frame1 is placed on the window; every other control is placed from Frame1's origin.
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    bool enabled;
    COLORREF textColour;
};

// frmVestroFile's client area, in twips.
inline constexpr int kClientWidthTwips = 8385;
inline constexpr int kClientHeightTwips = 2160;

// clang-format off
inline constexpr ControlLayout kLayout[] = {
//   control                          kind                   text at design time       left   top width height tab enabled text colour
    {ControlId::Frame1,               ControlKind::Frame,    L"",                      120,    0, 8175, 2055,  0, true,  kPlatformTextColour},
    {ControlId::lblExample,           ControlKind::Label,    kExampleText,            1680,  240, 6255,  495,  6, true,  RGB(128, 0, 0)},
    {ControlId::lblDestinationPath,   ControlKind::Label,    kDestinationPathCaption,  240,  810, 1215,  195,  2, true,  kPlatformTextColour},
    {ControlId::txtSourcePath,        ControlKind::TextBox,  L"",                     1680,  720, 6195,  315,  1, true,  kPlatformTextColour},
    {ControlId::cmdBrowse,            ControlKind::Button,   kBrowseCaption,          6660, 1080, 1215,  375,  3, true,  kPlatformTextColour},
    {ControlId::cmdOK,                ControlKind::Button,   kOKCaption,              2760, 1560, 1215,  375,  4, false, kPlatformTextColour},
    {ControlId::cmdCancel,            ControlKind::Button,   kCancelCaption,          4200, 1560, 1215,  375,  5, true,  kPlatformTextColour},
    {ControlId::lblStatus,            ControlKind::Label,    kStatusDesignText,        240, 1680, 2415,  255,  7, true,  RGB(0, 0, 255)},
};

// Not a control of the table: shown only while a copy runs, so that the window at rest is the
// table exactly. In the frame's free space right of Cancel, level with the buttons.
inline constexpr ControlLayout kCopyProgressLayout =
    {ControlId::prgCopyProgress,      ControlKind::ProgressBar, L"",                  5640, 1620, 2295,  255, -1, true,  kPlatformTextColour};
// clang-format on

}  // namespace vestro
