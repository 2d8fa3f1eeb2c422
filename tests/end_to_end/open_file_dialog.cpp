#include "open_file_dialog.h"

#include <optional>

#include "bounded_wait.h"
#include "process_windows.h"
#include "progress_log.h"
#include "scenario_failure.h"
#include "window_text.h"

namespace vestro::end_to_end {
namespace {

// cmb13: the file-name box of the explorer-style dialog. Under Wine and on Windows it is a
// combo box (ComboBoxEx32 or ComboBox) with an edit inside, which may carry the id itself.
constexpr int kFileNameComboId = 0x47C;
// edt1: the file-name box of the older dialog style.
constexpr int kFileNameEditId = 0x480;
// The id message boxes give their text.
constexpr int kMessageTextId = 0xFFFF;

bool IsFileNameEdit(HWND candidate) {
    if (!HasClass(candidate, L"Edit")) {
        return false;
    }
    if (GetDlgCtrlID(candidate) == kFileNameEditId) {
        return true;
    }
    for (HWND window = candidate; window != nullptr && !IsDialogWindow(window);
         window = GetParent(window)) {
        if (GetDlgCtrlID(window) == kFileNameComboId) {
            return true;
        }
    }
    return false;
}

// A push button that is the dialog's own child: the list view and the toolbar inside the dialog
// reuse the id IDOK.
HWND DialogButton(HWND dialog, int id) {
    return FindDescendant(dialog, [&](HWND child) {
        return GetParent(child) == dialog && GetDlgCtrlID(child) == id &&
               HasClass(child, L"Button");
    });
}

}  // namespace

OpenFileDialog::OpenFileDialog(HWND dialog, HWND fileNameBox, HWND openButton, HWND cancelButton)
    : dialog_(dialog),
      fileNameBox_(fileNameBox),
      openButton_(openButton),
      cancelButton_(cancelButton) {}

OpenFileDialog OpenFileDialog::WaitForOpen(const RunningProgram& program, HWND owner) {
    const OpenFileDialog found = WaitFor(
        [&]() -> std::optional<OpenFileDialog> {
            for (HWND window : TopLevelWindowsOf(program.ProcessId())) {
                if (!IsWindowVisible(window) || !IsDialogWindow(window)) {
                    continue;
                }
                HWND fileName = FindDescendant(window, IsFileNameEdit);
                HWND open = DialogButton(window, IDOK);
                HWND cancel = DialogButton(window, IDCANCEL);
                if (fileName != nullptr && open != nullptr && cancel != nullptr) {
                    return OpenFileDialog(window, fileName, open, cancel);
                }
            }
            return std::nullopt;
        },
        kWindowTimeout, L"the open-file dialog");
    Require(GetWindow(found.dialog_, GW_OWNER) == owner,
            L"The open-file dialog is not owned by the main window.");
    LogStep(L"open-file dialog shown");
    return found;
}

std::wstring OpenFileDialog::FileNameText() const {
    return ReadText(fileNameBox_);
}

void OpenFileDialog::Accept(const std::wstring& fileName) const {
    PutText(fileNameBox_, fileName);
    PostMessageW(openButton_, BM_CLICK, 0, 0);
}

void OpenFileDialog::Cancel() const {
    PostMessageW(cancelButton_, BM_CLICK, 0, 0);
}

std::wstring OpenFileDialog::DismissWarning() const {
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog_, &processId);
    const HWND warning = WaitFor(
        [&]() -> std::optional<HWND> {
            for (HWND window : TopLevelWindowsOf(processId)) {
                if (IsWindowVisible(window) && IsDialogWindow(window) &&
                    GetWindow(window, GW_OWNER) == dialog_) {
                    return window;
                }
            }
            return std::nullopt;
        },
        kWindowTimeout, L"the open-file dialog's warning");
    HWND textLabel = GetDlgItem(warning, kMessageTextId);
    const std::wstring text = textLabel != nullptr ? ReadText(textLabel) : std::wstring();
    HWND button = FindDescendant(
        warning, [](HWND child) { return HasClass(child, L"Button") && IsWindowVisible(child); });
    Require(button != nullptr, L"The open-file dialog's warning has no button.");
    PostMessageW(button, BM_CLICK, 0, 0);
    Require(WaitUntil([&] { return !IsWindow(warning); }, kWindowTimeout),
            L"The open-file dialog's warning stayed open after its button was pressed.");
    return text;
}

void OpenFileDialog::RequireClosed(const std::wstring& after) const {
    Require(WaitUntil([&] { return !IsOpen(); }, kWindowTimeout),
            L"The open-file dialog was still open " + SecondsText(kWindowTimeout) + L" after " +
                after + L".");
}

}  // namespace vestro::end_to_end
