#pragma once

#include <string>
#include <string_view>

#include "file_system/win32_extended_path.h"

namespace vestro {

// An item as the system is asked about it (extended-length path) and as failure descriptions
// name it (the caller's own text, with the names below it appended).
struct ItemPath {
    std::wstring system;
    std::wstring display;

    ItemPath Child(std::wstring_view name) const {
        return {JoinWithBackslash(system, name), JoinWithBackslash(display, name)};
    }
};

}  // namespace vestro
