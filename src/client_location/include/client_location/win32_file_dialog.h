#pragma once

#include <windows.h>

#include <string>

#include "client_location/file_dialog.h"

namespace vestro {

// "description|pattern|..." as GetOpenFileNameW wants it: NUL-separated, two NULs at the end.
std::wstring OpenFileNameFilter(const std::wstring& barSeparated);

// The platform's file-open dialog (GetOpenFileNameW), modal to its owner window.
class Win32FileDialog final : public FileDialog {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }

    void SetFileName(const std::wstring& fileName) override { fileName_ = fileName; }
    void SetCancelError(bool cancelError) override { cancelError_ = cancelError; }
    void SetFilter(const std::wstring& filter) override { filter_ = filter; }
    void SetFlags(unsigned long flags) override { flags_ = flags; }
    Result ShowOpen() override;

  private:
    HWND owner_ = nullptr;
    std::wstring fileName_;
    bool cancelError_ = false;
    std::wstring filter_;
    unsigned long flags_ = 0;
};

}  // namespace vestro
