#include "deployment/deployment_layout.h"

namespace vestro::testing {

DeploymentLayout::DeploymentLayout() {
    WriteFile(root.Child(L"client/Tarno.exe"), "");
    WriteFile(root.Child(L"client/Common/Other/keep.txt"), "belongs to the client");
    WriteFile(root.Child(L"client/Common/VestroData/old-only.txt"), "old");
    WriteFile(root.Child(L"client/Common/VestroData/shared.txt"), "old shared");
    WriteFile(root.Child(L"client/Common/VestroData/deep/a/b/old.bin"), std::string("\0\1\2", 3));

    WriteFile(root.Child(L"program/Data/shared.txt"), "new shared");
    WriteFile(root.Child(L"program/Data/Données/数据/é.txt"), "non-ASCII names");
    WriteFile(root.Child(L"program/Data/nested/one/two/three.bin"),
              std::string("\0\xff\r\n\x1a binary", 12));
    MakeFolder(root.Child(L"program/Data/empty/inner-empty"));
}

std::vector<std::wstring> DeploymentLayout::StrayEntriesInCommon() const {
    std::vector<std::wstring> stray;
    for (const auto& entry : std::filesystem::directory_iterator(Common())) {
        const std::wstring name = entry.path().filename().wstring();
        if (name != L"VestroData" && name != L"Other") {
            stray.push_back(name);
        }
    }
    return stray;
}

std::optional<TreeSnapshot> TreeOrMissing(const std::filesystem::path& folder) {
    if (!std::filesystem::is_directory(folder)) {
        return std::nullopt;
    }
    return SnapshotTree(folder);
}

}  // namespace vestro::testing
