#include "win32_exclusive_lock.h"

#include <windows.h>

#include <memory>
#include <string_view>

#include "file_system/win32_error_text.h"
#include "file_system/win32_owned_handle.h"
#include "win32_held_item_failure.h"
#include "win32_resolved_path.h"

namespace vestro {
namespace {

class Win32ExclusiveLock final : public ExclusiveLock {
  public:
    explicit Win32ExclusiveLock(OwnedHandle file) : file_(std::move(file)) {}

  private:
    OwnedHandle file_;
};

// Written into the lock file, which its holder lets others read: what tells another copy from a
// program that merely has the file open (a virus scanner, the search indexer).
constexpr char kHolderMark[] = "VestroFile";
constexpr DWORD kHolderMarkSize = sizeof(kHolderMark) - 1;

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(0, separator);
}

OwnedHandle OpenToLookAt(const ItemPath& file, DWORD access) {
    return OwnedHandle(CreateFileW(file.system.c_str(), access,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// A lock file goes when closed, so whatever stands at its name must be nothing but a file of its
// own: under Wine a Unix link to a file looks like one, and closing it would delete the file it
// points to.
bool IsPlainFileOrNothing(const ItemPath& file) {
    const DWORD attributes = GetFileAttributesW(file.system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return false;
    }
    const OwnedHandle handle = OpenToLookAt(file, FILE_READ_ATTRIBUTES);
    if (!handle) {
        return true;  // held or gone: the open that follows tells which
    }
    const SizedText reached = FinalPathOf(handle.Get());
    const ResolvedPath own = ResolveItemPath({FolderOf(file.system), FolderOf(file.display)});
    const std::wstring expected =
        JoinWithBackslash(own.path, file.system.substr(file.system.find_last_of(L'\\') + 1));
    return reached.error != ERROR_SUCCESS || own.status.Failed() ||
           IsSameFinalPath(reached.text, expected);
}

bool HeldByACopy(const ItemPath& file) {
    const OwnedHandle handle = OpenToLookAt(file, GENERIC_READ);
    char mark[kHolderMarkSize] = {};
    DWORD read = 0;
    return handle && ReadFile(handle.Get(), mark, kHolderMarkSize, &read, nullptr) &&
           std::string_view(mark, read) == std::string_view(kHolderMark, kHolderMarkSize);
}

}  // namespace

// Never waited for: another copy holding the lock is the answer.
LockAcquisition LockFileExclusively(const ItemPath& file) {
    const std::wstring action = CouldNot(L"lock the file", file.display);
    if (!IsPlainFileOrNothing(file)) {
        LockAcquisition taken{nullptr, false, Win32Failure(ERROR_CANT_ACCESS_FILE, action)};
        taken.nameTaken = true;
        return taken;
    }
    OwnedHandle handle(CreateFileW(file.system.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                   FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesW(file.system.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return {nullptr, false,
                    Win32Failure(error, L"Files cannot be created in the folder \"" +
                                            FolderOf(file.display) + L"\"")};
        }
        if (error == ERROR_SHARING_VIOLATION && HeldByACopy(file)) {
            return {nullptr, true, Win32Failure(error, action)};
        }
        return {nullptr, false, Win32HeldItemFailure(error, action, {file.system})};
    }
    DWORD written = 0;
    if (!WriteFile(handle.Get(), kHolderMark, kHolderMarkSize, &written, nullptr) ||
        written != kHolderMarkSize) {
        return {nullptr, false, Win32Failure(GetLastError(), action)};
    }
    return {std::make_unique<Win32ExclusiveLock>(std::move(handle)), false, Status::Success()};
}

}  // namespace vestro
