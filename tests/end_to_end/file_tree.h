#pragma once

#include <map>
#include <optional>
#include <string>

namespace vestro::end_to_end {

struct TreeEntry {
    bool isFolder = false;
    // A file's bytes; for a link, a mark instead of what it points to.
    std::string contents;
    bool operator==(const TreeEntry&) const = default;
};

// Everything below a folder, by path relative to it ("maps\level1.dat").
using FileTree = std::map<std::wstring, TreeEntry>;

// Fails when the folder does not exist.
FileTree ReadTree(const std::wstring& root);
std::optional<FileTree> ReadTreeIfPresent(const std::wstring& root);

// The tree with the folder at relative path folder holding exactly replacement instead of what
// it held; without a replacement, the folder is gone.
FileTree WithSubtree(const FileTree& tree, const std::wstring& folder,
                     const std::optional<FileTree>& replacement);

// The first difference in words, or an empty text when the trees are equal.
std::wstring FirstDifference(const FileTree& actual, const FileTree& expected);

// Compares byte for byte what is on disk below root with the expected tree.
void RequireTree(const std::wstring& root, const FileTree& expected, const std::wstring& what);

}  // namespace vestro::end_to_end
