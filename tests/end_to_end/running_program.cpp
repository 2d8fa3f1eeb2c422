#include "running_program.h"

#include <utility>

#include "bounded_wait.h"
#include "progress_log.h"
#include "scenario_failure.h"
#include "system_error_text.h"

namespace vestro::end_to_end {
namespace {

// The exit code a scenario gives a program that it has to end itself.
constexpr UINT kEndedByScenario = 0xE2E;

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

}  // namespace

RunningProgram::RunningProgram(const std::wstring& executable, const std::wstring& workingFolder)
    : executable_(executable) {
    std::wstring commandLine = L"\"" + executable + L"\"";
    const std::wstring startFolder = workingFolder.empty() ? FolderOf(executable) : workingFolder;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        startFolder.c_str(), &startup, &process_)) {
        Fail(L"Could not start " + Quoted(executable) + L": " + SystemErrorText(GetLastError()));
    }
    LogStep(L"started " + executable);
}

RunningProgram::RunningProgram(RunningProgram&& other) noexcept
    : executable_(std::move(other.executable_)), process_(std::exchange(other.process_, {})) {}

RunningProgram::~RunningProgram() {
    EndIfRunning();
    if (process_.hThread != nullptr) {
        CloseHandle(process_.hThread);
    }
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hProcess);
    }
}

bool RunningProgram::IsRunning() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void RunningProgram::RequireEndsWithExitCode(DWORD expected, const std::wstring& when) const {
    const auto timeout = static_cast<DWORD>(kProgramEndTimeout.count());
    if (WaitForSingleObject(process_.hProcess, timeout) != WAIT_OBJECT_0) {
        Fail(L"VestroFile.exe was still running " + SecondsText(kProgramEndTimeout) + L" " + when +
             L".");
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    LogStep(L"VestroFile.exe ended with exit code " + std::to_wstring(exitCode));
    Require(exitCode == expected, L"VestroFile.exe ended " + when + L" with exit code " +
                                      std::to_wstring(exitCode) + L", expected " +
                                      std::to_wstring(expected) + L".");
}

void RunningProgram::RequireRunning(const std::wstring& when) const {
    Require(IsRunning(), L"VestroFile.exe had ended " + when + L"; it should still run.");
}

void RunningProgram::EndIfRunning() {
    if (IsRunning()) {
        TerminateProcess(process_.hProcess, kEndedByScenario);
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kProgramEndTimeout.count()));
    }
}

}  // namespace vestro::end_to_end
