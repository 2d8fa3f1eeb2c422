#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vestro::end_to_end {

// The scenarios' own file work, on absolute drive paths. Every call goes through the \\?\ form,
// so paths longer than 260 characters work. Failures end the scenario.

std::wstring ExtendedPath(const std::wstring& path);
bool PathExists(const std::wstring& path);
void MakeFolders(const std::wstring& folder);
// Creates the folders on the way.
void WriteBytes(const std::wstring& file, std::string_view bytes);
void CopyFileTo(const std::wstring& source, const std::wstring& destination);
void SetReadOnly(const std::wstring& path);
void MoveItem(const std::wstring& source, const std::wstring& destination);
// Removes a file or a folder with everything in it, read-only items too; a link is removed, never
// entered. Nothing happens when the path does not exist.
void RemoveTree(const std::wstring& path);
// Every link (symbolic link or junction) below a folder, not entering any.
std::vector<std::wstring> LinksBelow(const std::wstring& folder);
// The names in a folder, sorted.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

}  // namespace vestro::end_to_end
