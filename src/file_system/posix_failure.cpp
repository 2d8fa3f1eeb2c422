#include "posix_failure.h"

#include <filesystem>

#include "file_system/path_conversion.h"

namespace vestro {

std::wstring CouldNot(std::wstring_view action, std::wstring_view path) {
    std::wstring text = L"Could not ";
    text.append(action).append(L" \"").append(path).append(L"\"");
    return text;
}

Status PosixFailure(std::error_code error, const std::wstring& action) {
    // The system's messages are UTF-8, like its paths.
    std::wstring reason = ToPathText(std::filesystem::path(error.message()));
    if (!reason.empty() && reason.back() != L'.') {
        reason.push_back(L'.');
    }
    return Status::Failure(error, action + L": " + reason);
}

}  // namespace vestro
