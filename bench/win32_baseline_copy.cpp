#include <windows.h>

#include <string>

#include "baseline_copy.h"
#include "file_system/win32_owned_handle.h"

namespace vestro::bench {
namespace {

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return std::wstring(buffer, length);
}

std::string RunCommandLine(const std::string& name, std::wstring commandLine) {
    const std::wstring shell = SystemFolder() + L"\\cmd.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return "cannot start cmd.exe, error " + std::to_string(GetLastError());
    }
    const OwnedHandle thread(process.hThread), child(process.hProcess);
    WaitForSingleObject(child.Get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.Get(), &exitCode);
    if (exitCode != 0) {
        return name + " failed with exit code " + std::to_string(exitCode);
    }
    return {};
}

}  // namespace

bool IsBaselineName(const std::string& name) {
    return name == "xcopy" || name == "robocopy";
}

std::string RunBaselineCopy(const std::string& name, const std::wstring& sourceDir,
                            const std::wstring& targetDir,
                            const std::function<void()>& newDataInPlace) {
    if (!IsBaselineName(name)) {
        return "no baseline named " + name;
    }
    const std::wstring source = L"\"" + sourceDir + L"\"";
    const std::wstring target = L"\"" + targetDir + L"\"";
    const std::wstring fresh = L"\"" + targetDir + L".new\"";
    const std::wstring old = L"\"" + targetDir + L".old\"";
    // Both name every file they copy; the console would then be part of what we time.
    // robocopy's exit codes below 8 mean success. xcopy removes first, so its new data is in
    // place only at its end.
    if (name == "xcopy") {
        std::string failure =
            RunCommandLine(name, L"cmd.exe /c rmdir /s /q " + target + L" && xcopy " + source +
                                     L" " + target + L" /e /i /h /k /y >NUL");
        if (failure.empty()) {
            newDataInPlace();
        }
        return failure;
    }
    if (std::string failure = RunCommandLine(
            name, L"cmd.exe /c robocopy " + source + L" " + fresh +
                      L" /MIR /MT:8 >NUL & if errorlevel 8 (exit 1) else (move " + target + L" " +
                      old + L" >NUL && move " + fresh + L" " + target + L" >NUL)");
        !failure.empty()) {
        return failure;
    }
    newDataInPlace();
    return RunCommandLine(name, L"cmd.exe /c rmdir /s /q " + old);
}

}  // namespace vestro::bench
