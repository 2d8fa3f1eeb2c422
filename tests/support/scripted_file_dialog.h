#pragma once

#include <string>
#include <vector>

#include "client_location/file_dialog.h"

namespace vestro::testing {

// Stands in for the open-file dialog: writes down the settings it gets, in order, and answers
// ShowOpen with the result a test has set.
class ScriptedFileDialog : public FileDialog {
  public:
    void SetFileName(const std::wstring& fileName) override {
        calls.push_back(L"FileName=" + fileName);
        fileNameField = fileName;
    }
    void SetCancelError(bool cancelError) override {
        calls.push_back(cancelError ? L"CancelError=true" : L"CancelError=false");
    }
    void SetFilter(const std::wstring& filter) override { calls.push_back(L"Filter=" + filter); }
    void SetFlags(unsigned long flags) override {
        calls.push_back(L"Flags=" + std::to_wstring(flags));
    }
    Result ShowOpen() override {
        calls.push_back(L"ShowOpen");
        fileNameWhenShown = fileNameField;
        return nextResult;
    }

    Result nextResult;
    std::vector<std::wstring> calls;
    std::wstring fileNameField;
    std::wstring fileNameWhenShown;
};

}  // namespace vestro::testing
