#include "held_open_item.h"

#include <utility>

#include "file_operations.h"
#include "scenario_failure.h"
#include "system_error_text.h"

namespace vestro::end_to_end {
namespace {

HANDLE Open(const std::wstring& path, DWORD shareMode, DWORD flags) {
    HANDLE handle = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, shareMode, nullptr,
                                OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(L"Could not open " + Quoted(path) + L" to hold it: " +
             SystemErrorText(GetLastError()));
    }
    return handle;
}

}  // namespace

HeldOpenItem HeldOpenItem::File(const std::wstring& path, DWORD shareMode) {
    return HeldOpenItem(Open(path, shareMode, FILE_ATTRIBUTE_NORMAL));
}

HeldOpenItem HeldOpenItem::Folder(const std::wstring& path, DWORD shareMode) {
    return HeldOpenItem(Open(path, shareMode, FILE_FLAG_BACKUP_SEMANTICS));
}

HeldOpenItem::~HeldOpenItem() {
    Release();
}

HeldOpenItem::HeldOpenItem(HeldOpenItem&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

void HeldOpenItem::Release() {
    if (handle_ != nullptr) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

}  // namespace vestro::end_to_end
