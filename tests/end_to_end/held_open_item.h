#pragma once

#include <windows.h>

#include <string>

namespace vestro::end_to_end {

// A file or folder this process keeps open, as another program using it would, until released.
class HeldOpenItem {
  public:
    // shareMode: what others may do meanwhile (FILE_SHARE_READ and so on).
    static HeldOpenItem File(const std::wstring& path, DWORD shareMode);
    static HeldOpenItem Folder(const std::wstring& path, DWORD shareMode);
    ~HeldOpenItem();
    HeldOpenItem(HeldOpenItem&& other) noexcept;
    HeldOpenItem(const HeldOpenItem&) = delete;
    HeldOpenItem& operator=(const HeldOpenItem&) = delete;
    HeldOpenItem& operator=(HeldOpenItem&&) = delete;

    void Release();

  private:
    explicit HeldOpenItem(HANDLE handle) : handle_(handle) {}

    HANDLE handle_;
};

}  // namespace vestro::end_to_end
