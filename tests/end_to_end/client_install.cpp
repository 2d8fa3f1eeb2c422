#include "client_install.h"

#include "demo_content.h"
#include "file_operations.h"

namespace vestro::end_to_end {

ClientInstall InstallClient(const std::wstring& folder, CommonFolder common,
                            const std::wstring& exeName) {
    const ClientInstall client{folder, folder + L"\\" + exeName};
    WriteBytes(client.exePath, "MZ stand-in for the client executable\r\n");
    if (common != CommonFolder::Missing) {
        WriteBytes(client.Common() + L"\\Other\\keep.txt", "the client's own file\r\n");
    }
    if (common == CommonFolder::WithOldData) {
        WriteOldData(client.VestroData());
    }
    return client;
}

}  // namespace vestro::end_to_end
