#include "file_tree.h"

#include <windows.h>

#include "file_operations.h"
#include "scenario_failure.h"
#include "system_error_text.h"

namespace vestro::end_to_end {
namespace {

constexpr char kLinkMark[] = "<link>";

std::string ReadFileBytes(const std::wstring& file) {
    HANDLE handle = CreateFileW(ExtendedPath(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(L"Could not read " + Quoted(file) + L": " + SystemErrorText(GetLastError()));
    }
    std::string bytes;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (ReadFile(handle, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(handle);
    return bytes;
}

void ReadInto(FileTree& tree, const std::wstring& folder, const std::wstring& relativeFolder) {
    for (const std::wstring& name : NamesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const std::wstring relative = relativeFolder.empty() ? name : relativeFolder + L"\\" + name;
        const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            tree[relative] = TreeEntry{(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, kLinkMark};
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            tree[relative] = TreeEntry{true, {}};
            ReadInto(tree, path, relative);
        } else {
            tree[relative] = TreeEntry{false, ReadFileBytes(path)};
        }
    }
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    return path == folder || path.starts_with(folder + L"\\");
}

std::wstring Describe(const TreeEntry& entry) {
    return entry.isFolder ? std::wstring(L"a folder")
                          : L"a file of " + std::to_wstring(entry.contents.size()) + L" bytes";
}

}  // namespace

FileTree ReadTree(const std::wstring& root) {
    std::optional<FileTree> tree = ReadTreeIfPresent(root);
    Require(tree.has_value(), L"The folder " + Quoted(root) + L" does not exist.");
    return *tree;
}

std::optional<FileTree> ReadTreeIfPresent(const std::wstring& root) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(root).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::nullopt;
    }
    FileTree tree;
    ReadInto(tree, root, L"");
    return tree;
}

FileTree WithSubtree(const FileTree& tree, const std::wstring& folder,
                     const std::optional<FileTree>& replacement) {
    FileTree result;
    for (const auto& [path, entry] : tree) {
        if (!IsInside(path, folder)) {
            result.emplace(path, entry);
        }
    }
    if (replacement) {
        result[folder] = TreeEntry{true, {}};
        for (const auto& [path, entry] : *replacement) {
            result[folder + L"\\" + path] = entry;
        }
    }
    return result;
}

std::wstring FirstDifference(const FileTree& actual, const FileTree& expected) {
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            return L"missing " + Quoted(path) + L" (" + Describe(entry) + L")";
        }
        if (found->second.isFolder != entry.isFolder) {
            return Quoted(path) + L" is " + Describe(found->second) + L", expected " +
                   Describe(entry);
        }
        if (found->second.contents != entry.contents) {
            return L"different contents in " + Quoted(path) + L": " + Describe(found->second) +
                   L", expected " + Describe(entry);
        }
    }
    for (const auto& [path, entry] : actual) {
        if (!expected.contains(path)) {
            return L"unexpected " + Quoted(path) + L" (" + Describe(entry) + L")";
        }
    }
    return {};
}

void RequireTree(const std::wstring& root, const FileTree& expected, const std::wstring& what) {
    const std::optional<FileTree> actual = ReadTreeIfPresent(root);
    Require(actual.has_value(), what + L": the folder " + Quoted(root) + L" is missing.");
    const std::wstring difference = FirstDifference(*actual, expected);
    Require(difference.empty(), what + L" (" + root + L"): " + difference + L".");
}

}  // namespace vestro::end_to_end
