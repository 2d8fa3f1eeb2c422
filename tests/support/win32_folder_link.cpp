#include <windows.h>

#include "support/folder_link.h"

namespace vestro::testing {
namespace {

bool IsLinkedFolderOnDisk(const std::filesystem::path& link) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    const DWORD linkedFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & linkedFolder) == linkedFolder;
}

// The Unix path of a Windows path, as Wine's own conversion gives it.
std::wstring UnixPath(const std::filesystem::path& path) {
    using UnixFileName = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* text = convert != nullptr ? convert(path.c_str()) : nullptr;
    if (text == nullptr) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

// Wine starts Unix programs as well: the one way for Windows code to make or remove a Unix link.
// It gives no handle to wait on, so the caller watches for the outcome instead.
bool StartUnixCommand(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    for (const HANDLE handle : {process.hThread, process.hProcess}) {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    return true;
}

bool WaitUntilLinkedFolderIs(bool present, const std::filesystem::path& link) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (IsLinkedFolderOnDisk(link) == present) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace

FolderLinks::~FolderLinks() {
    for (const std::filesystem::path& link : links_) {
        if (RunningUnderWine()) {
            if (StartUnixCommand(L"/bin/rm -f " + Quoted(UnixPath(link)))) {
                WaitUntilLinkedFolderIs(false, link);
            }
        } else {
            RemoveDirectoryW(link.c_str());
        }
    }
}

std::string FolderLinks::Make(const std::filesystem::path& link,
                              const std::filesystem::path& target) {
    if (CreateSymbolicLinkW(
            link.c_str(), target.c_str(),
            SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        IsLinkedFolderOnDisk(link)) {
        links_.push_back(link);
        return {};
    }
    const DWORD error = GetLastError();
    if (!RunningUnderWine()) {
        return "CreateSymbolicLinkW failed with error " + std::to_string(error) +
               ": run the tests elevated or turn on Developer Mode";
    }
    const std::wstring unixTarget = UnixPath(target);
    const std::wstring unixLink = UnixPath(link);
    if (unixTarget.empty() || unixLink.empty() ||
        !StartUnixCommand(L"/bin/ln -s " + Quoted(unixTarget) + L" " + Quoted(unixLink)) ||
        !WaitUntilLinkedFolderIs(true, link)) {
        return "under Wine, /bin/ln could not make a Unix link at " + link.string();
    }
    links_.push_back(link);
    return {};
}

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace vestro::testing
