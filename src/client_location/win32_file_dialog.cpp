#include "client_location/win32_file_dialog.h"

#include <commdlg.h>

#include <algorithm>

namespace vestro {
namespace {

// Room for a long path (\\?\ form included), so a deep install is never cut off.
constexpr DWORD kFileNameCapacity = 32768;

// The explorer-style dialog without the read-only check box, which would mean nothing here.
constexpr DWORD kLookFlags = OFN_EXPLORER | OFN_HIDEREADONLY;

}  // namespace

std::wstring OpenFileNameFilter(const std::wstring& barSeparated) {
    std::wstring filter = barSeparated;
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

FileDialog::Result Win32FileDialog::ShowOpen() {
    std::wstring fileName = fileName_;
    fileName.resize(kFileNameCapacity);  // the answer's room; a longer name is cut short
    fileName.back() = L'\0';
    const std::wstring filter = OpenFileNameFilter(filter_);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = kFileNameCapacity;
    dialog.Flags = flags_ | kLookFlags;

    if (GetOpenFileNameW(&dialog)) {
        return {Outcome::Chosen, fileName.c_str()};
    }
    // Closed without a pick, by the user or by a failure (CommDlgExtendedError): the same to the
    // one asking. Without CancelError that is an ordinary, empty answer.
    return cancelError_ ? Result{Outcome::Cancelled, {}} : Result{Outcome::Chosen, {}};
}

}  // namespace vestro
