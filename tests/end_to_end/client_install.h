#pragma once

#include <string>

namespace vestro::end_to_end {

// An installed client application: its executable, and its Common folder.
struct ClientInstall {
    std::wstring folder;
    std::wstring exePath;

    std::wstring Common() const { return folder + L"\\Common"; }
    std::wstring VestroData() const { return Common() + L"\\VestroData"; }
};

enum class CommonFolder {
    // Common with the client's own files and an old VestroData.
    WithOldData,
    // Common with the client's own files; no data deployed yet.
    WithoutVestroData,
    Missing,
};

ClientInstall InstallClient(const std::wstring& folder,
                            CommonFolder common = CommonFolder::WithOldData,
                            const std::wstring& exeName = L"Tarno.exe");

}  // namespace vestro::end_to_end
