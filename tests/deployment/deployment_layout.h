#pragma once

#include <filesystem>
#include <iterator>

#include "support/temporary_folder.h"

namespace vestro::testing {

// A client installation with an old VestroData, and a program folder with a new Data, in one
// temporary folder:  client/Tarno.exe, client/Common/VestroData, program/Data.
struct DeploymentLayout {
    DeploymentLayout() {
        WriteFile(root.Child(L"client/Tarno.exe"), "");
        WriteFile(root.Child(L"client/Common/Other/keep.txt"), "belongs to the client");
        WriteFile(root.Child(L"client/Common/VestroData/old-only.txt"), "old");
        WriteFile(root.Child(L"client/Common/VestroData/deep/a/b/old.bin"), std::string("\0\1", 2));
        WriteFile(root.Child(L"program/Data/Données/数据/é.txt"), "non-ASCII names");
        WriteFile(root.Child(L"program/Data/nested/one/two.bin"), std::string("\0\xff\r\n", 4));
        MakeFolder(root.Child(L"program/Data/empty/inner-empty"));
    }
    std::wstring ExePath() const { return root.Text(L"client/Tarno.exe"); }
    std::wstring SourceDir() const { return root.Text(L"program/Data"); }
    std::wstring TargetDir() const { return root.Text(L"client/Common/VestroData"); }
    std::filesystem::path Data() const { return root.Child(L"program/Data"); }
    std::filesystem::path Common() const { return root.Child(L"client/Common"); }
    std::filesystem::path VestroData() const { return root.Child(L"client/Common/VestroData"); }
    std::filesystem::path Backup() const {
        return root.Child(L"client/Common/VestroData.vestrofile-old");
    }
    // No staging or backup folder left beside VestroData and the client's own folder.
    bool NothingStrayInCommon() const {
        return std::distance(std::filesystem::directory_iterator(Common()), {}) ==
               1 + std::filesystem::exists(VestroData());
    }

    TemporaryFolder root;
};

}  // namespace vestro::testing
