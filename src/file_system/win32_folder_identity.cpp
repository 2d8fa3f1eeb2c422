#include "win32_folder_identity.h"

#include "file_system/win32_owned_handle.h"

namespace vestro {

FolderIdentityReading ReadFolderIdentity(const std::wstring& systemPath) {
    const OwnedHandle folder = OpenToReadAttributes(systemPath);
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
