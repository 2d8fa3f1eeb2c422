#include "vestro_window.h"

#include "bounded_wait.h"
#include "main_window/win32_layout.h"
#include "message_box.h"
#include "process_windows.h"
#include "progress_log.h"
#include "scenario_failure.h"
#include "window_text.h"

namespace vestro::end_to_end {
namespace {

constexpr wchar_t kWindowCaption[] = L"Copy Vestro Files";

HWND FindControl(HWND window, ControlId id, const wchar_t* className, const wchar_t* role) {
    HWND control = FindDescendant(
        window, [&](HWND child) { return GetDlgCtrlID(child) == static_cast<int>(id); });
    Require(control != nullptr && HasClass(control, className),
            std::wstring(L"The window has no ") + role + L" (" + className + L" control).");
    return control;
}

std::wstring Flag(bool enabled) {
    return enabled ? L"enabled" : L"disabled";
}

// Every part of the expectation that the state does not meet, or nothing.
std::wstring Differences(const WindowState& state, const ExpectedWindowState& expected) {
    std::wstring differences;
    const auto compareText = [&](const std::optional<std::wstring>& wanted,
                                 const std::wstring& shown, const wchar_t* part) {
        if (wanted && *wanted != shown) {
            differences += std::wstring(L" ") + part + L" " + Quoted(shown) + L" instead of " +
                           Quoted(*wanted) + L";";
        }
    };
    const auto compareFlag = [&](const std::optional<bool>& wanted, bool shown,
                                 const wchar_t* part) {
        if (wanted && *wanted != shown) {
            differences += std::wstring(L" ") + part + L" " + Flag(shown) + L" instead of " +
                           Flag(*wanted) + L";";
        }
    };
    compareText(expected.pathText, state.pathText, L"path box");
    compareText(expected.statusText, state.statusText, L"status line");
    compareFlag(expected.okEnabled, state.okEnabled, L"OK");
    compareFlag(expected.cancelEnabled, state.cancelEnabled, L"Cancel");
    compareFlag(expected.browseEnabled, state.browseEnabled, L"Browse...");
    return differences;
}

}  // namespace

VestroWindow::VestroWindow(HWND window)
    : window_(window),
      pathBox_(FindControl(window, ControlId::txtSourcePath, L"Edit", L"path box")),
      statusLabel_(FindControl(window, ControlId::lblStatus, L"Static", L"status line")),
      okButton_(FindControl(window, ControlId::cmdOK, L"Button", L"OK button")),
      cancelButton_(FindControl(window, ControlId::cmdCancel, L"Button", L"Cancel button")),
      browseButton_(FindControl(window, ControlId::cmdBrowse, L"Button", L"Browse button")) {
    RequireEqualText(ReadText(okButton_), L"OK", L"The OK button's text");
    RequireEqualText(ReadText(cancelButton_), L"Cancel", L"The Cancel button's text");
    RequireEqualText(ReadText(browseButton_), L"Browse...", L"The Browse button's text");
}

VestroWindow VestroWindow::WaitForOpen(const RunningProgram& program) {
    HWND window = WaitFor(
        [&]() -> std::optional<HWND> {
            if (HWND box = MessageBoxWindow::FindShown(program.ProcessId())) {
                Fail(L"A message appeared before the window opened: " +
                     Quoted(MessageBoxWindow::TextOf(box)));
            }
            for (HWND candidate : TopLevelWindowsOf(program.ProcessId())) {
                if (IsWindowVisible(candidate) && CaptionOf(candidate) == kWindowCaption) {
                    return candidate;
                }
            }
            program.RequireRunning(L"before its window opened");
            return std::nullopt;
        },
        kProgramStartTimeout, L"the window \"Copy Vestro Files\" to open");
    LogStep(L"window open");
    return VestroWindow(window);
}

bool VestroWindow::IsOpen() const {
    return IsWindow(window_) && IsWindowVisible(window_);
}

WindowState VestroWindow::ReadState() const {
    return WindowState{ReadText(pathBox_), ReadText(statusLabel_),
                       IsWindowEnabled(okButton_) != FALSE, IsWindowEnabled(cancelButton_) != FALSE,
                       IsWindowEnabled(browseButton_) != FALSE};
}

void VestroWindow::RequireState(const ExpectedWindowState& expected,
                                const std::wstring& when) const {
    std::wstring differences;
    const bool reached = WaitUntil(
        [&] {
            Require(IsWindow(window_), L"The window had closed " + when + L".");
            differences = Differences(ReadState(), expected);
            return differences.empty();
        },
        kWindowTimeout);
    if (!reached) {
        Fail(L"The window " + when + L" shows:" + differences);
    }
}

void VestroWindow::TypePath(const std::wstring& text) const {
    PutText(pathBox_, text);
}

void VestroWindow::ClickOk() const {
    PostMessageW(okButton_, BM_CLICK, 0, 0);
}

void VestroWindow::ClickCancel() const {
    PostMessageW(cancelButton_, BM_CLICK, 0, 0);
}

void VestroWindow::ClickBrowse() const {
    PostMessageW(browseButton_, BM_CLICK, 0, 0);
}

void VestroWindow::PressCloseBox() const {
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void VestroWindow::RequestClose() const {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace vestro::end_to_end
