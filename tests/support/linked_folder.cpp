#include "support/linked_folder.h"

#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vestro::testing {

#ifdef _WIN32

namespace {

bool IsLinkedFolder(const std::filesystem::path& link) {
    const DWORD attributes = GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine's own export; absent on Windows.
using UnixFileNameFunction = char*(__cdecl*)(const wchar_t*);

std::string UnixPath(UnixFileNameFunction toUnix, const std::filesystem::path& path) {
    char* unixPath = toUnix(std::filesystem::absolute(path).c_str());
    if (unixPath == nullptr) {
        throw std::runtime_error("no Unix path for " + path.string());
    }
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::wstring Widen(const std::string& utf8) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

// Wine starts Unix programs, so its own ln makes the link.
void MakeUnixLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    const auto toUnix = reinterpret_cast<UnixFileNameFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) {
        return;
    }
    std::wstring commandLine = L"ln -s \"" + Widen(UnixPath(toUnix, target)) + L"\" \"" +
                               Widen(UnixPath(toUnix, link)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\ln", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The handle Wine gives for a Unix program does not wait for it: watch for the link instead.
    for (int attempt = 0; attempt < 100 && !IsLinkedFolder(link); ++attempt) {
        Sleep(50);
    }
}

}  // namespace

void MakeLinkedFolder(const std::filesystem::path& link, const std::filesystem::path& target) {
    CreateSymbolicLinkW(
        link.c_str(), std::filesystem::absolute(target).c_str(),
        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    if (!IsLinkedFolder(link)) {
        MakeUnixLink(link, target);
    }
    if (!IsLinkedFolder(link)) {
        throw std::runtime_error("cannot make a linked folder at " + link.string());
    }
}

#else

void MakeLinkedFolder(const std::filesystem::path& link, const std::filesystem::path& target) {
    std::filesystem::create_directory_symlink(target, link);
}

#endif

}  // namespace vestro::testing
