#pragma once

#include <windows.h>

#include <restartmanager.h>

#include "file_system/holder_naming.h"

namespace vestro {

// The Restart Manager's sessions (RmStartSession ... RmEndSession), which list the programs
// holding files open. Paths come in the extended-length form.
class Win32RestartManager final : public RestartManager {
  public:
    bool StartSession() override;
    bool RegisterFiles(const std::vector<std::wstring>& files) override;
    std::optional<std::vector<HoldingProgram>> ListHolders() override;
    void EndSession() override;

  private:
    DWORD session_ = 0;
};

}  // namespace vestro
