#include <windows.h>

#include <restartmanager.h>

#include <algorithm>
#include <string_view>

#include "file_system/holder_naming.h"
#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "file_system/win32_system_library.h"
#include "platform.h"
#include "win32_platform.h"

namespace vestro {
namespace {

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
        // The Restart Manager is documented with plain full paths.
        names.push_back(plain.emplace_back(ToPlainPath(file)).c_str());
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

std::unique_ptr<RestartManager> CreateSystemRestartManager() {
    return std::make_unique<Win32RestartManager>();
}

Status Win32HeldItemFailure(DWORD error, const std::wstring& action,
                            const std::vector<std::wstring>& systemFiles) {
    Status failure = Win32Failure(error, action);
    if (IsHoldErrorOfFolderRemoval(error)) {
        failure.description += NameHolders(*CreateSystemRestartManager(), systemFiles);
    }
    return failure;
}

std::vector<std::wstring> FilesBelow(const std::wstring& systemFolder) {
    // Enough to find a program holding data files; asking about more only takes longer.
    constexpr std::size_t kMostFiles = 256;
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders{systemFolder};
    while (!folders.empty() && files.size() < kMostFiles) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        std::vector<Item> items;
        OpenFolder().OpenAndList({folder, folder}, items, false);
        for (const Item& item : items) {
            if (item.kind != ItemKind::FolderLink) {
                (item.kind == ItemKind::Folder ? folders : files)
                    .push_back(JoinWithBackslash(folder, item.name));
            }
        }
    }
    files.resize(std::min(files.size(), kMostFiles));
    return files;
}

}  // namespace vestro
