#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "file_system/file_system.h"

namespace vestro {

// Where the client installs itself, probed in this order. Whole literal paths: the drive and
// the program folders are not looked up from the system.
inline constexpr std::array<std::wstring_view, 2> kInstallCandidates = {
    L"C:\\Program Files\\Tarno\\Tarno.exe",
    L"C:\\Program Files (x86)\\Tarno\\Tarno.exe",
};

// Probes the candidates in order and gives the first that exists, or nothing. A failed probe ends
// the search with its failure.
Result<std::wstring> DetectInstall(
    FileSystem& fileSystem, std::span<const std::wstring_view> candidates = kInstallCandidates);

}  // namespace vestro
