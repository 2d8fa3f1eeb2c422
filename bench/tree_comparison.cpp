#include "tree_comparison.h"

#include <fstream>
#include <map>
#include <vector>

namespace vestro::bench {
namespace {

// Relative path -> size, with folders marked so that an empty folder counts as content too.
using TreeListing = std::map<std::filesystem::path, std::uintmax_t>;
constexpr std::uintmax_t kFolderMark = static_cast<std::uintmax_t>(-1);

TreeListing ListTree(const std::filesystem::path& root) {
    TreeListing listing;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::filesystem::path relative = entry.path().lexically_relative(root);
        listing[relative] = entry.is_directory() ? kFolderMark : entry.file_size();
    }
    return listing;
}

// The buffers are made once per comparison: filling fresh ones for each of thousands of small
// files would cost more than reading them.
struct ChunkBuffers {
    static constexpr std::size_t kChunk = 1 << 20;
    std::vector<char> one = std::vector<char>(kChunk);
    std::vector<char> other = std::vector<char>(kChunk);
};

bool SameBytes(const std::filesystem::path& first, const std::filesystem::path& second,
               ChunkBuffers& buffers) {
    std::ifstream one(first, std::ios::binary);
    std::ifstream other(second, std::ios::binary);
    std::vector<char>& oneChunk = buffers.one;
    std::vector<char>& otherChunk = buffers.other;
    while (one && other) {
        one.read(oneChunk.data(), ChunkBuffers::kChunk);
        other.read(otherChunk.data(), ChunkBuffers::kChunk);
        if (one.gcount() != other.gcount() ||
            !std::equal(oneChunk.begin(), oneChunk.begin() + one.gcount(), otherChunk.begin())) {
            return false;
        }
    }
    return one.eof() && other.eof();
}

}  // namespace

TreeComparison CompareTrees(const std::filesystem::path& original,
                            const std::filesystem::path& copy, bool compareContents) {
    const TreeListing expected = ListTree(original);
    const TreeListing actual = ListTree(copy);
    TreeComparison comparison;
    ChunkBuffers buffers;
    for (const auto& [relative, size] : expected) {
        if (size != kFolderMark) {
            ++comparison.files;
            comparison.bytes += size;
        }
        const auto found = actual.find(relative);
        if (!comparison.difference.empty()) {
            continue;
        }
        if (found == actual.end()) {
            comparison.difference = "missing: " + relative.string();
        } else if (found->second != size) {
            comparison.difference = "different size or kind: " + relative.string();
        } else if (compareContents && size != kFolderMark &&
                   !SameBytes(original / relative, copy / relative, buffers)) {
            comparison.difference = "different bytes: " + relative.string();
        }
    }
    if (comparison.difference.empty() && actual.size() != expected.size()) {
        for (const auto& [relative, size] : actual) {
            if (!expected.contains(relative)) {
                comparison.difference = "unexpected: " + relative.string();
                break;
            }
        }
    }
    return comparison;
}

}  // namespace vestro::bench
