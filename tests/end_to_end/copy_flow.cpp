#include "copy_flow.h"

#include "message_box.h"
#include "scenario_failure.h"

namespace vestro::end_to_end {

void RequireCopySucceeds(const VestroWindow& window, const RunningProgram& program,
                         const std::function<void()>& queuedBehindClick) {
    window.ClickOk();
    if (queuedBehindClick) {
        queuedBehindClick();
    }
    const MessageBoxWindow message = MessageBoxWindow::WaitForOpen(program, window.Handle());
    message.RequireContent(kCopySucceeded, StandardIcon::Information);
    window.RequireState({.statusText = kCopyingStatus,
                         .okEnabled = false,
                         .cancelEnabled = false,
                         .browseEnabled = true},
                        L"while the success message is shown");
    message.PressOk();
    program.RequireEndsWithExitCode(0, L"after the success message");
}

std::wstring RequireCopyFails(const VestroWindow& window, const RunningProgram& program,
                              FailureStage stage, const std::wstring& statusBefore) {
    window.ClickOk();
    const MessageBoxWindow message = MessageBoxWindow::WaitForOpen(program, window.Handle());
    const std::wstring text = message.Text();
    RequireTextStartsWith(text, kCopyFailedPrefix, L"The message");
    Require(text.size() > std::wstring_view(kCopyFailedPrefix).size(),
            L"The failure message gives no description of the failure.");
    const StandardIcon icon = message.Icon();
    Require(icon == StandardIcon::Exclamation,
            L"The failure message shows the " + NameOf(icon) + L" icon; expected exclamation.");
    const bool began = stage == FailureStage::WhileCopying;
    const std::wstring status = began ? std::wstring(kCopyingStatus) : statusBefore;
    window.RequireState(
        {.statusText = status, .okEnabled = !began, .cancelEnabled = !began, .browseEnabled = true},
        L"while the failure message is shown");
    message.PressOk();
    window.RequireState(
        {.statusText = status, .okEnabled = true, .cancelEnabled = true, .browseEnabled = true},
        L"after the failure message");
    program.RequireRunning(L"after the failure message");
    return text;
}

void RequireCommonNotFound(const VestroWindow& window, const RunningProgram& program,
                           const std::wstring& commonFolder, const std::wstring& status) {
    window.ClickOk();
    const MessageBoxWindow message = MessageBoxWindow::WaitForOpen(program, window.Handle());
    message.RequireContent(commonFolder + kCommonNotFoundSuffix, StandardIcon::Exclamation);
    const ExpectedWindowState idle{
        .statusText = status, .okEnabled = true, .cancelEnabled = true, .browseEnabled = true};
    window.RequireState(idle, L"while the not-found message is shown");
    message.PressOk();
    window.RequireState(idle, L"after the not-found message");
    program.RequireRunning(L"after the not-found message");
}

FileTree AfterCopy(const FileTree& clientBefore, const FileTree& data) {
    return WithSubtree(clientBefore, L"Common\\VestroData", data);
}

}  // namespace vestro::end_to_end
