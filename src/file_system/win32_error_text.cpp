#include "file_system/win32_error_text.h"

#include <windows.h>

#include <memory>
#include <system_error>

namespace vestro {
namespace {

struct LocalMemoryRelease {
    void operator()(wchar_t* memory) const { LocalFree(memory); }
};

}  // namespace

std::wstring Win32ErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalMemoryRelease> owner(buffer);
    if (length == 0 || buffer == nullptr) {
        return L"Error " + std::to_wstring(error) + L".";
    }
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

Status Win32Failure(unsigned long error, const std::wstring& action) {
    return Status::Failure(std::error_code(static_cast<int>(error), std::system_category()),
                           action + L": " + Win32ErrorText(error));
}

}  // namespace vestro
