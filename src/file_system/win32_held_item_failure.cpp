#include "win32_held_item_failure.h"

#include "file_system/holder_naming.h"
#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "win32_folder_listing.h"
#include "win32_hold_errors.h"
#include "win32_linked_folder.h"
#include "win32_restart_manager.h"

namespace vestro {

Status Win32HeldItemFailure(DWORD error, const std::wstring& action,
                            const std::vector<std::wstring>& systemFiles) {
    Status failure = Win32Failure(error, action);
    if (IsHoldErrorOfFolderRemoval(error)) {
        Win32RestartManager restartManager;
        failure.description += NameHolders(restartManager, systemFiles);
    }
    return failure;
}

std::vector<std::wstring> FilesBelow(const std::wstring& systemFolder) {
    // Enough to find a program holding data files; asking about more only takes longer.
    constexpr std::size_t kMostFiles = 256;
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders{systemFolder};
    while (!folders.empty() && files.size() < kMostFiles) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        FolderListing listing(folder);
        while (listing.Next() == ERROR_SUCCESS && files.size() < kMostFiles) {
            const WIN32_FIND_DATAW& entry = listing.Entry();
            const std::wstring path = JoinWithBackslash(folder, entry.cFileName);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                files.push_back(path);
            } else if (!IsLinkedFolder(entry.dwFileAttributes, entry.dwReserved0)) {
                folders.push_back(path);
            }
        }
    }
    return files;
}

}  // namespace vestro
