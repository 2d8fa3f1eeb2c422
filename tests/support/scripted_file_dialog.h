#pragma once

#include "client_location/file_dialog.h"

namespace vestro::testing {

// Stands in for the open-file dialog: keeps each setting as it is when shown, and answers with
// the result a test has set.
class ScriptedFileDialog : public FileDialog {
  public:
    void SetFileName(const std::wstring& fileName) override { fileNameField = fileName; }
    void SetCancelError(bool on) override { cancelError = on; }
    void SetFilter(const std::wstring& text) override { filter = text; }
    void SetFlags(unsigned long value) override { flags = value; }
    Result ShowOpen() override {
        fileNameWhenShown = fileNameField;
        return nextResult;
    }

    Result nextResult;
    std::wstring fileNameField, fileNameWhenShown, filter;
    bool cancelError = false;
    unsigned long flags = 0;
};

}  // namespace vestro::testing
