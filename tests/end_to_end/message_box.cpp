#include "message_box.h"

#include <optional>

#include "bounded_wait.h"
#include "process_windows.h"
#include "progress_log.h"
#include "scenario_failure.h"
#include "window_text.h"

namespace vestro::end_to_end {
namespace {

constexpr wchar_t kMessageCaption[] = L"VestroFile";
// The id message boxes give their text, on Windows and under Wine alike.
constexpr int kMessageTextId = 0xFFFF;

bool IsIconLabel(HWND window) {
    return HasClass(window, L"Static") &&
           (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

bool IsVisibleButton(HWND window) {
    return HasClass(window, L"Button") && IsWindowVisible(window);
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(HWND box, HWND textLabel, HWND iconLabel, HWND button)
    : box_(box), textLabel_(textLabel), iconLabel_(iconLabel), button_(button) {}

HWND MessageBoxWindow::FindShown(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && IsDialogWindow(window) &&
            CaptionOf(window) == kMessageCaption) {
            return window;
        }
    }
    return nullptr;
}

MessageBoxWindow MessageBoxWindow::WaitForOpen(const RunningProgram& program, HWND owner) {
    // Complete means drawn with all its parts: a box still being built has some of them missing.
    const MessageBoxWindow found = WaitFor(
        [&]() -> std::optional<MessageBoxWindow> {
            HWND box = FindShown(program.ProcessId());
            if (box == nullptr) {
                return std::nullopt;
            }
            HWND text = GetDlgItem(box, kMessageTextId);
            HWND icon = FindDescendant(box, IsIconLabel);
            HWND button = FindDescendant(box, IsVisibleButton);
            if (text == nullptr || icon == nullptr || button == nullptr) {
                return std::nullopt;
            }
            return MessageBoxWindow(box, text, icon, button);
        },
        kWindowTimeout, L"a message box captioned \"VestroFile\"");
    Require(GetWindow(found.box_, GW_OWNER) == owner,
            L"The message box " + Quoted(found.Text()) + L" is not owned by the main window.");
    int buttons = 0;
    for (HWND child : DescendantsOf(found.box_)) {
        buttons += IsVisibleButton(child) ? 1 : 0;
    }
    Require(buttons == 1, L"The message box " + Quoted(found.Text()) + L" has " +
                              std::to_wstring(buttons) + L" buttons; expected OK alone.");
    RequireEqualText(ReadText(found.button_), L"OK", L"The message box's button");
    LogStep(L"message shown: " + Quoted(found.Text()));
    return found;
}

std::wstring MessageBoxWindow::TextOf(HWND box) {
    HWND text = GetDlgItem(box, kMessageTextId);
    return text != nullptr ? ReadText(text) : std::wstring();
}

std::wstring MessageBoxWindow::Text() const {
    return ReadText(textLabel_);
}

StandardIcon MessageBoxWindow::Icon() const {
    const StandardIcon icon = RecogniseStandardIcon(iconLabel_);
    LogStep(L"message icon: " + NameOf(icon));
    return icon;
}

void MessageBoxWindow::RequireContent(const std::wstring& text, StandardIcon icon) const {
    RequireEqualText(Text(), text, L"The message");
    const StandardIcon shown = Icon();
    Require(shown == icon, L"The message " + Quoted(text) + L" shows the " + NameOf(shown) +
                               L" icon; expected the " + NameOf(icon) + L" icon.");
}

void MessageBoxWindow::PressOk() const {
    // Posted: the program answers the click from its own message loop, not inside this call.
    PostMessageW(button_, BM_CLICK, 0, 0);
    Require(WaitUntil([&] { return !IsWindow(box_); }, kWindowTimeout),
            L"The message box was still open " + SecondsText(kWindowTimeout) +
                L" after its OK button was pressed.");
    LogStep(L"message dismissed");
}

}  // namespace vestro::end_to_end
