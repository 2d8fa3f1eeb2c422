#include <windows.h>

#include <string>

#include "baseline_copy.h"

namespace vestro::bench {
namespace {

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return std::wstring(buffer, length);
}

}  // namespace

std::string RunBaselineCopy(const std::wstring& sourceDir, const std::wstring& targetDir) {
    const std::wstring shell = SystemFolder() + L"\\cmd.exe";
    // xcopy names every file it copies; the console would then be part of what we time.
    std::wstring commandLine = L"cmd.exe /c rmdir /s /q \"" + targetDir + L"\" && xcopy \"" +
                               sourceDir + L"\" \"" + targetDir + L"\" /e /i /h /k /y >NUL";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return "cannot start cmd.exe, error " + std::to_string(GetLastError());
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (exitCode != 0) {
        return "rmdir/xcopy failed with exit code " + std::to_string(exitCode);
    }
    return {};
}

}  // namespace vestro::bench
