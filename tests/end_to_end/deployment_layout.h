#pragma once

#include <string>

#include "client_install.h"
#include "scenario_context.h"

namespace vestro::end_to_end {

// What most scenarios start from: a copy of VestroFile.exe with a Data folder beside it, and a
// client install.
struct Deployment {
    std::wstring program;
    std::wstring data;
    ClientInstall client;
};

// The program goes to programFolder, <scenario>\program when empty.
Deployment LayOutDeployment(const ScenarioContext& context, const std::wstring& clientFolder,
                            CommonFolder common = CommonFolder::WithOldData,
                            const std::wstring& programFolder = {});

}  // namespace vestro::end_to_end
