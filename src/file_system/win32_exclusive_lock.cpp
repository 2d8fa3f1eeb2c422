#include "win32_exclusive_lock.h"

#include <windows.h>

#include "file_system/win32_error_text.h"
#include "file_system/win32_owned_handle.h"

namespace vestro {
namespace {

class Win32ExclusiveLock final : public ExclusiveLock {
  public:
    explicit Win32ExclusiveLock(OwnedHandle file) : file_(std::move(file)) {}

  private:
    OwnedHandle file_;
};

}  // namespace

// Never waited for: another copy holding the lock is the answer.
LockAcquisition LockFileExclusively(const ItemPath& file) {
    OwnedHandle handle(CreateFileW(file.system.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                   nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        return {nullptr, error == ERROR_SHARING_VIOLATION,
                Win32Failure(error, CouldNot(L"lock the file", file.display))};
    }
    return {std::make_unique<Win32ExclusiveLock>(std::move(handle)), false, Status::Success()};
}

}  // namespace vestro
