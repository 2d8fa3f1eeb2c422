#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vestro {

// A program that holds an item open, as the system names it.
struct HoldingProgram {
    std::wstring name;  // such as "Tarno.exe"
    unsigned long processId = 0;
};

// The system's account of which programs hold files open: one session at a time (the Restart
// Manager on Windows).
class RestartManager {
  public:
    virtual ~RestartManager() = default;

    // False when the system offers no session.
    virtual bool StartSession() = 0;
    virtual bool RegisterFiles(const std::vector<std::wstring>& files) = 0;
    // The programs holding the registered files, or nothing when the system cannot say.
    virtual std::optional<std::vector<HoldingProgram>> ListHolders() = 0;
    virtual void EndSession() = 0;
};

// A sentence to append to a failure description, such as " It is in use by Tarno.exe (process
// 4242); close it and try again.", naming each program once; empty when the system names none.
std::wstring NameHolders(RestartManager& restartManager, const std::vector<std::wstring>& files);

}  // namespace vestro
