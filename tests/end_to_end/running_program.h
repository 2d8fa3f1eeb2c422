#pragma once

#include <windows.h>

#include <string>

namespace vestro::end_to_end {

// A started process. Whatever happens in the scenario, the process does not outlive this object.
class RunningProgram {
  public:
    // workingFolder: the folder the program starts in; its own folder when empty.
    RunningProgram(const std::wstring& executable, const std::wstring& workingFolder);
    ~RunningProgram();
    RunningProgram(RunningProgram&& other) noexcept;
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    RunningProgram& operator=(RunningProgram&&) = delete;

    DWORD ProcessId() const { return process_.dwProcessId; }
    bool IsRunning() const;
    // Fails unless the process ends within the bounded time with this exit code.
    void RequireEndsWithExitCode(DWORD expected, const std::wstring& when) const;
    void RequireRunning(const std::wstring& when) const;

  private:
    void EndIfRunning();

    std::wstring executable_;
    PROCESS_INFORMATION process_{};
};

}  // namespace vestro::end_to_end
