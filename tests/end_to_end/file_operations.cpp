#include "file_operations.h"

#include <windows.h>

#include <algorithm>

#include "scenario_failure.h"
#include "system_error_text.h"

namespace vestro::end_to_end {
namespace {

[[noreturn]] void FailOn(const wchar_t* action, const std::wstring& path) {
    Fail(std::wstring(L"Could not ") + action + L" " + Quoted(path) + L": " +
         SystemErrorText(GetLastError()));
}

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(ExtendedPath(path).c_str());
}

std::wstring ParentOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool IsDriveRoot(const std::wstring& path) {
    return path.size() <= 3;
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\")) {
        return path;
    }
    return L"\\\\?\\" + path;
}

bool PathExists(const std::wstring& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolders(const std::wstring& folder) {
    if (IsDriveRoot(folder) || PathExists(folder)) {
        return;
    }
    MakeFolders(ParentOf(folder));
    if (!CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr)) {
        FailOn(L"create the folder", folder);
    }
}

void WriteBytes(const std::wstring& file, std::string_view bytes) {
    MakeFolders(ParentOf(file));
    HANDLE handle = CreateFileW(ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailOn(L"create the file", file);
    }
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    if (!wrote || written != bytes.size()) {
        FailOn(L"write the file", file);
    }
}

void CopyFileTo(const std::wstring& source, const std::wstring& destination) {
    MakeFolders(ParentOf(destination));
    if (!CopyFileW(ExtendedPath(source).c_str(), ExtendedPath(destination).c_str(), FALSE)) {
        FailOn(L"copy the file", source);
    }
}

void SetReadOnly(const std::wstring& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !SetFileAttributesW(ExtendedPath(path).c_str(), attributes | FILE_ATTRIBUTE_READONLY)) {
        FailOn(L"make read-only", path);
    }
}

void MoveItem(const std::wstring& source, const std::wstring& destination) {
    if (!MoveFileExW(ExtendedPath(source).c_str(), ExtendedPath(destination).c_str(), 0)) {
        FailOn(L"move", source);
    }
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(ExtendedPath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (isFolder && !isLink) {
        for (const std::wstring& name : NamesIn(path)) {
            RemoveTree(path + L"\\" + name);
        }
    }
    const BOOL removed = isFolder ? RemoveDirectoryW(ExtendedPath(path).c_str())
                                  : DeleteFileW(ExtendedPath(path).c_str());
    if (!removed) {
        FailOn(L"remove", path);
    }
}

std::vector<std::wstring> LinksBelow(const std::wstring& folder) {
    std::vector<std::wstring> links;
    for (const std::wstring& name : NamesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = AttributesOf(path);
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            links.push_back(path);
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            const std::vector<std::wstring> inner = LinksBelow(path);
            links.insert(links.end(), inner.begin(), inner.end());
        }
    }
    return links;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileExW(ExtendedPath(folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return names;
        }
        FailOn(L"list the folder", folder);
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vestro::end_to_end
