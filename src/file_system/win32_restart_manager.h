#pragma once

#include <windows.h>

#include <restartmanager.h>

#include "file_system/holder_naming.h"
#include "file_system/win32_system_library.h"

namespace vestro {

// The Restart Manager's sessions (RmStartSession ... RmEndSession), which list the programs
// holding files open. Paths come in the extended-length form. Its library is not one the system
// always takes from System32, so it is loaded from there by name; without it the system names
// no holders.
class Win32RestartManager final : public RestartManager {
  public:
    Win32RestartManager();
    bool StartSession() override;
    bool RegisterFiles(const std::vector<std::wstring>& files) override;
    std::optional<std::vector<HoldingProgram>> ListHolders() override;
    void EndSession() override;

  private:
    SystemLibrary library_{L"rstrtmgr.dll"};
    decltype(&RmStartSession) startSession_;
    decltype(&RmRegisterResources) registerResources_;
    decltype(&RmGetList) getList_;
    decltype(&RmEndSession) endSession_;
    DWORD session_ = 0;
};

}  // namespace vestro
