#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "main_window/window.h"

namespace vestro::testing {

// Stands in for the Win32 window: keeps what a user would see, and the order of button changes,
// status texts and messages. What the copy's worker posts waits until the test takes it.
class RecordingWindow : public Window {
  public:
    std::wstring SourcePathText() const override { return sourcePathText; }
    void SetSourcePathText(const std::wstring& text) override {
        sourcePathText = text;
        if (onSourcePathChanged) {
            onSourcePathChanged();
        }
    }
    void SetSourcePathReadOnly(bool readOnly) override { pathReadOnly = readOnly; }
    void EnableOK(bool on) override { calls.push_back((okEnabled = on) ? L"OK on" : L"OK off"); }
    void EnableCancel(bool on) override {
        calls.push_back((cancelEnabled = on) ? L"Cancel on" : L"Cancel off");
    }
    void EnableBrowse(bool on) override { browseEnabled = on; }
    void SetStatusText(const std::wstring& text) override { calls.push_back(statusText = text); }
    void ShowCopyInProgress(bool shown) override { copyShownInProgress = shown; }
    void ShowMessage(const std::wstring& text, MessageIcon icon) override {
        calls.push_back(L"message");
        messages.push_back(L"(" + std::to_wstring(static_cast<int>(icon)) + L") " + text);
    }
    void Close() override { closed = true; }
    void PostCopyProgress(unsigned permille) override {
        const std::lock_guard lock(mutex_);
        progress_.push_back(permille);
    }
    void PostCopyFinished() override {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        finish_.notify_all();
    }
    // The progress posted before the copy's end, once that is posted; nothing after a minute.
    std::optional<std::vector<unsigned>> TakePostsOnceFinished() {
        std::unique_lock lock(mutex_);
        if (!finish_.wait_for(lock, std::chrono::minutes(1), [this] { return finished_; })) {
            return std::nullopt;
        }
        finished_ = false;
        return std::exchange(progress_, {});
    }

    // A fresh window, before its load sequence.
    std::wstring sourcePathText, statusText = L"lblStatus";
    bool okEnabled = false, cancelEnabled = true, browseEnabled = true, pathReadOnly = false;
    bool copyShownInProgress = false, closed = false;
    std::vector<std::wstring> calls;
    std::vector<std::wstring> messages;  // "(48) text": the icon's value, then the text
    std::function<void()> onSourcePathChanged;

  private:
    std::mutex mutex_;
    std::condition_variable finish_;
    std::vector<unsigned> progress_;
    bool finished_ = false;
};

}  // namespace vestro::testing
