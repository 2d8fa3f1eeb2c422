#include <windows.h>

#include <string>

#include "deployment/program_folder.h"

namespace vestro {

std::wstring ProgramFolder() {
    // Long install paths exceed MAX_PATH: grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto lastSeparator = path.find_last_of(L"\\/");
    return lastSeparator == std::wstring::npos ? std::wstring() : path.substr(0, lastSeparator);
}

}  // namespace vestro
