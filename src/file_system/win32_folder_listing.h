#pragma once

#include <windows.h>

#include <string>

#include "file_system/win32_owned_handle.h"

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
    DWORD Advance();

    std::wstring pattern_;
    OwnedFindHandle handle_;
    bool started_ = false;
    WIN32_FIND_DATAW entry_{};
};

}  // namespace vestro
