#pragma once

#include <string>
#include <vector>

#include "platform.h"

namespace vestro {

// The items of one folder of the old data, found by the names of the new data as Windows
// compares names: the copy on Windows lands on the old name whatever its letter case.
class Counterparts {
  public:
    Counterparts() = default;
    explicit Counterparts(std::vector<Item> items);

    // The item of that name, or none.
    const Item* Find(const std::wstring& name) const;
    // The folder of that name, when it is a plain folder: a link is never gone through.
    const Item* FindFolder(const std::wstring& name) const;

  private:
    std::vector<Item> items_;  // in Windows' order
};

// Whether the old file may stand for the new one, as far as the listings tell (both listed with
// sizes): a plain file of the same size, last-write time and attributes. Its bytes decide.
bool LooksSame(const Item& file, const Item& old);

// A file of the new data and its counterpart in the old, each in its walked folder and tree.
struct FilePair {
    const OpenFolder& folder;
    const Item& file;
    const ReadTree& tree;
    const OpenFolder& oldFolder;
    const Item& old;
    const ReadTree& oldTree;
};

// Makes destination a second name of the old file when both are plain files inside their trees
// with the same bytes, read side by side. False, with nothing left at destination, on any
// difference and any failure: the file is then copied.
bool ReuseWhenSame(const FilePair& pair, const ItemPath& destination);

}  // namespace vestro
