#include "win32_restart_manager.h"

#include <string_view>

#include "file_system/win32_owned_handle.h"

namespace vestro {
namespace {

// The Restart Manager is documented with plain full paths.
std::wstring PlainPath(const std::wstring& systemPath) {
    constexpr std::wstring_view kSharePrefix = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kPrefix = L"\\\\?\\";
    if (systemPath.starts_with(kSharePrefix)) {
        return L"\\\\" + systemPath.substr(kSharePrefix.size());
    }
    if (systemPath.starts_with(kPrefix)) {
        return systemPath.substr(kPrefix.size());
    }
    return systemPath;
}

bool SameTime(const FILETIME& left, const FILETIME& right) {
    return left.dwLowDateTime == right.dwLowDateTime && left.dwHighDateTime == right.dwHighDateTime;
}

// The program's file name, as a user finds it in the Task Manager; the Restart Manager's own
// name for it when the process cannot be asked, or is another one by now under the same id.
std::wstring ProgramName(const RM_PROCESS_INFO& info) {
    const OwnedHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, info.Process.dwProcessId));
    FILETIME started{}, exited{}, kernel{}, user{};
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (process && GetProcessTimes(process.Get(), &started, &exited, &kernel, &user) &&
        SameTime(started, info.Process.ProcessStartTime) &&
        QueryFullProcessImageNameW(process.Get(), 0, image, &length)) {
        const std::wstring_view path(image, length);
        return std::wstring(path.substr(path.find_last_of(L'\\') + 1));
    }
    return info.strAppName;
}

}  // namespace

Win32RestartManager::Win32RestartManager()
    : startSession_(library_.Find<decltype(RmStartSession)>("RmStartSession")),
      registerResources_(library_.Find<decltype(RmRegisterResources)>("RmRegisterResources")),
      getList_(library_.Find<decltype(RmGetList)>("RmGetList")),
      endSession_(library_.Find<decltype(RmEndSession)>("RmEndSession")) {}

bool Win32RestartManager::StartSession() {
    if (!startSession_ || !registerResources_ || !getList_ || !endSession_) {
        return false;
    }
    wchar_t key[CCH_RM_SESSION_KEY + 1] = {};
    return startSession_(&session_, 0, key) == ERROR_SUCCESS;
}

bool Win32RestartManager::RegisterFiles(const std::vector<std::wstring>& files) {
    std::vector<std::wstring> plain;
    std::vector<LPCWSTR> names;
    plain.reserve(files.size());
    for (const std::wstring& file : files) {
        names.push_back(plain.emplace_back(PlainPath(file)).c_str());
    }
    return registerResources_(session_, static_cast<UINT>(names.size()), names.data(), 0, nullptr,
                              0, nullptr) == ERROR_SUCCESS;
}

std::optional<std::vector<HoldingProgram>> Win32RestartManager::ListHolders() {
    std::vector<RM_PROCESS_INFO> found;
    DWORD error = ERROR_MORE_DATA;
    // The list may grow between asking for its length and reading it.
    for (int attempt = 0; attempt < 3 && error == ERROR_MORE_DATA; ++attempt) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(found.size());
        DWORD reasons = 0;
        error =
            getList_(session_, &needed, &count, found.empty() ? nullptr : found.data(), &reasons);
        found.resize(error == ERROR_MORE_DATA ? needed : count);
    }
    if (error != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<HoldingProgram> programs;
    for (const RM_PROCESS_INFO& info : found) {
        programs.push_back({ProgramName(info), info.Process.dwProcessId});
    }
    return programs;
}

void Win32RestartManager::EndSession() {
    endSession_(session_);
}

}  // namespace vestro
