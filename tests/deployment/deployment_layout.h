#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temporary_folder.h"

namespace vestro::testing {

// A client installation with an old VestroData, and a program folder with a new Data, in one
// temporary folder:  client/Tarno.exe, client/Common/VestroData, program/Data.
struct DeploymentLayout {
    DeploymentLayout();

    std::wstring ExePath() const { return root.Text(L"client/Tarno.exe"); }
    std::wstring ProgramFolder() const { return root.Text(L"program"); }
    std::wstring SourceDir() const { return root.Text(L"program/Data"); }
    std::wstring TargetDir() const { return root.Text(L"client/Common/VestroData"); }
    std::filesystem::path Data() const { return root.Child(L"program/Data"); }
    std::filesystem::path Common() const { return root.Child(L"client/Common"); }
    std::filesystem::path VestroData() const { return root.Child(L"client/Common/VestroData"); }
    std::filesystem::path Backup() const {
        return root.Child(L"client/Common/VestroData.vestrofile-old");
    }

    // What Common holds besides VestroData and the client's own folder: staging or backup
    // folders left behind.
    std::vector<std::wstring> StrayEntriesInCommon() const;

    TemporaryFolder root;
};

// The tree below the folder, or nothing when there is no folder.
std::optional<TreeSnapshot> TreeOrMissing(const std::filesystem::path& folder);

}  // namespace vestro::testing
