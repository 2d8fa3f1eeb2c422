#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "main_window/window.h"

namespace vestro::testing {

// Stands in for the Win32 window: keeps what a user would see, and the messages and the close in
// their order. What the copy's worker posts waits until the test takes it.
class RecordingWindow : public Window {
  public:
    std::wstring SourcePathText() const override { return sourcePathText; }
    void SetSourcePathText(const std::wstring& text) override {
        sourcePathText = text;
        onSourcePathChanged();
    }
    void SetSourcePathReadOnly(bool readOnly) override { pathReadOnly = readOnly; }
    void EnableOK(bool on) override { okEnabled = on; }
    void EnableCancel(bool on) override { cancelEnabled = on; }
    void EnableBrowse(bool on) override { browseEnabled = on; }
    void SetStatusText(const std::wstring& text) override { statusText = text; }
    void ShowCopyInProgress(bool shown) override { everBusy |= busy = shown; }
    void ShowMessage(const std::wstring& text, MessageIcon icon) override {
        shown.push_back(L"(" + std::to_wstring(static_cast<int>(icon)) + L") " + text);
    }
    void Close() override { shown.push_back(L"closed"); }
    // Only the worker writes the progress, before the end; the end hands it over.
    void PostCopyProgress(unsigned permille) override { progress_.push_back(permille); }
    void PostCopyFinished() override { finished_.set_value(std::move(progress_)); }
    // The progress posted before the copy's end, once that is posted; nothing after a minute.
    std::optional<std::vector<unsigned>> TakePostsOnceFinished() {
        std::future<std::vector<unsigned>> finished = finished_.get_future();
        return finished.wait_for(std::chrono::minutes(1)) == std::future_status::ready
                   ? std::optional(finished.get())
                   : std::nullopt;
    }

    // A fresh window, before its load sequence.
    std::wstring sourcePathText, statusText = L"lblStatus";
    bool okEnabled = false, cancelEnabled = true, browseEnabled = true, pathReadOnly = false;
    bool busy = false, everBusy = false;
    std::vector<std::wstring> shown;  // "(48) text": the icon's value, then the text; "closed"
    std::function<void()> onSourcePathChanged = [] {};

  private:
    std::vector<unsigned> progress_;
    std::promise<std::vector<unsigned>> finished_;
};

}  // namespace vestro::testing
