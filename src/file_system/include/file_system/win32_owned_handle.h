#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace vestro {

// Owns a Win32 handle and closes it once, when it goes. Takes what the opening call returned,
// failures included: INVALID_HANDLE_VALUE and null both mean no handle.
template <typename Closer>
class OwnedWin32Handle {
  public:
    OwnedWin32Handle() = default;
    explicit OwnedWin32Handle(HANDLE handle) : handle_(handle) {}
    OwnedWin32Handle(OwnedWin32Handle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedWin32Handle& operator=(OwnedWin32Handle&& other) noexcept {
        Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~OwnedWin32Handle() { Reset(); }

    HANDLE Get() const { return handle_; }
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle = nullptr) {
        if (*this) {
            Closer::Close(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

struct KernelHandleCloser {
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleCloser {
    static void Close(HANDLE handle) { FindClose(handle); }
};

// Files, folders, processes, threads: closed with CloseHandle.
using OwnedHandle = OwnedWin32Handle<KernelHandleCloser>;
// A folder listing of FindFirstFileExW: closed with FindClose.
using OwnedFindHandle = OwnedWin32Handle<FindHandleCloser>;

// Opens a file or folder, following links, only to read what it is: nobody else is kept from
// reading, writing or deleting it meanwhile.
inline OwnedHandle OpenToReadAttributes(const std::wstring& systemPath) {
    return OwnedHandle(CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace vestro
