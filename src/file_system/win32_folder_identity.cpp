#include "win32_folder_identity.h"

#include "file_system/win32_owned_handle.h"

namespace vestro {

FolderIdentityReading ReadFolderIdentity(const std::wstring& systemPath) {
    const OwnedHandle folder(CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                         nullptr));
    if (!folder) {
        return {{}, GetLastError()};
    }
    BY_HANDLE_FILE_INFORMATION information{};
    FolderIdentityReading reading;
    if (GetFileInformationByHandle(folder.Get(), &information)) {
        reading.identity.volume = information.dwVolumeSerialNumber;
        reading.identity.index =
            (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    } else {
        reading.error = GetLastError();
    }
    return reading;
}

}  // namespace vestro
