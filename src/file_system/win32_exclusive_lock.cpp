#include "win32_exclusive_lock.h"

#include <windows.h>

#include "file_system/win32_error_text.h"

namespace vestro {
namespace {

class Win32ExclusiveLock final : public ExclusiveLock {
  public:
    explicit Win32ExclusiveLock(HANDLE file) : file_(file) {}
    Win32ExclusiveLock(const Win32ExclusiveLock&) = delete;
    Win32ExclusiveLock& operator=(const Win32ExclusiveLock&) = delete;
    ~Win32ExclusiveLock() override { CloseHandle(file_); }

  private:
    HANDLE file_;
};

}  // namespace

LockAcquisition LockFileExclusively(const ItemPath& file) {
    const HANDLE handle =
        CreateFileW(file.system.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {nullptr, error == ERROR_SHARING_VIOLATION,
                Win32Failure(error, CouldNot(L"lock the file", file.display))};
    }
    return {std::make_unique<Win32ExclusiveLock>(handle), false, Status::Success()};
}

}  // namespace vestro
