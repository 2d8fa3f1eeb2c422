#include <windows.h>

#include "file_system/win32_owned_handle.h"
#include "support/folder_link.h"

namespace vestro::testing {
namespace {

// A link to a file is seen as the file itself under Wine.
bool IsLinkInPlace(const std::filesystem::path& link) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    const DWORD linked = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & linked) == linked);
}

// Wine's CreateSymbolicLinkW makes nothing; a Unix link, made by a Unix program that Wine starts
// without a handle to wait on, is what Windows code there sees as a linked folder.
std::wstring QuotedUnixPath(const std::filesystem::path& path) {
    using UnixFileName = char*(__cdecl*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* text = unixName != nullptr ? unixName(std::filesystem::absolute(path).c_str()) : nullptr;
    const std::wstring quoted = L" \"" + std::filesystem::path(text ? text : "").wstring() + L"\"";
    HeapFree(GetProcessHeap(), 0, text);
    return quoted;
}

bool RunUnixCommand(std::wstring commandLine, const std::filesystem::path& link, bool present) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    const OwnedHandle thread(process.hThread), child(process.hProcess);
    for (int attempt = 0; attempt < 1000 && IsLinkInPlace(link) != present; ++attempt) {
        Sleep(10);
    }
    return IsLinkInPlace(link) == present;
}

}  // namespace

FolderLinks::~FolderLinks() {
    for (const std::filesystem::path& link : links_) {
        if (!RunningUnderWine() ||
            !RunUnixCommand(L"/bin/rm -f" + QuotedUnixPath(link), link, false)) {
            RemoveDirectoryW(link.c_str()) || DeleteFileW(link.c_str());
        }
    }
}

std::string FolderLinks::Make(const std::filesystem::path& link,
                              const std::filesystem::path& target) {
    const bool made =
        RunningUnderWine()
            ? RunUnixCommand(L"/bin/ln -s" + QuotedUnixPath(target) + QuotedUnixPath(link), link,
                             true)
            : CreateSymbolicLinkW(
                  link.c_str(), target.c_str(),
                  (std::filesystem::is_directory(target) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) |
                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
                  IsLinkInPlace(link);
    if (!made) {
        return "no link at " + link.string() + ": on Windows run elevated or in Developer Mode";
    }
    links_.push_back(link);
    return {};
}

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace vestro::testing
