#pragma once

#include <string>

#include "client_location/file_dialog.h"

namespace vestro::testing {

// Stands in for the open-file dialog: keeps the name field as it is when shown, and answers with
// the result a test has set.
class ScriptedFileDialog : public FileDialog {
  public:
    void SetFileName(const std::wstring& fileName) override { fileNameField = fileName; }
    void SetCancelError(bool) override {}
    void SetFilter(const std::wstring&) override {}
    void SetFlags(unsigned long) override {}
    Result ShowOpen() override {
        fileNameWhenShown = fileNameField;
        return nextResult;
    }

    Result nextResult;
    std::wstring fileNameField, fileNameWhenShown;
};

}  // namespace vestro::testing
