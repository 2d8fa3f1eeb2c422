#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace vestro {

// The entries of one folder, one at a time, with the attributes the listing already carries
// (no "." or ".."). The folder stays open until the listing is destroyed.
class FolderListing {
  public:
    explicit FolderListing(const std::wstring& systemFolderPath);

    // ERROR_SUCCESS with the next entry ready, ERROR_NO_MORE_FILES after the last one, or the
    // error that stopped the listing.
    DWORD Next();
    const WIN32_FIND_DATAW& Entry() const { return entry_; }

  private:
    struct FindHandleClose {
        void operator()(HANDLE handle) const { ::FindClose(handle); }
    };

    DWORD Advance();

    std::wstring pattern_;
    std::unique_ptr<void, FindHandleClose> handle_;
    bool started_ = false;
    WIN32_FIND_DATAW entry_{};
};

}  // namespace vestro
