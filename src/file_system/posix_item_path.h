#pragma once

#include <filesystem>
#include <string>

#include "file_system/path_conversion.h"

namespace vestro {

// An item as the system is asked about it and as failure descriptions name it (the caller's own
// text, with the names below it appended).
struct ItemPath {
    std::filesystem::path system;
    std::wstring display;

    ItemPath Child(const std::filesystem::path& name) const {
        std::wstring childDisplay = display;
        if (!childDisplay.empty() && childDisplay.back() != L'/') {
            childDisplay.push_back(L'/');
        }
        childDisplay += ToPathText(name);
        return {system / name, std::move(childDisplay)};
    }
};

}  // namespace vestro
