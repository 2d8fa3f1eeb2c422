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

struct ShownMessage {
    std::wstring text;
    MessageIcon icon;
};

// Stands in for the Win32 window: keeps the state a user would see and the calls in order. What
// the copy's worker posts is kept apart until the test takes it on its own thread.
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
    void EnableOK(bool enabled) override { Record(L"OK", okEnabled = enabled); }
    void EnableCancel(bool enabled) override { Record(L"Cancel", cancelEnabled = enabled); }
    void EnableBrowse(bool enabled) override { browseEnabled = enabled; }
    void SetStatusText(const std::wstring& text) override { calls.push_back(statusText = text); }
    void ShowCopyInProgress(bool shown) override { copyShownInProgress = shown; }
    void ShowMessage(const std::wstring& text, MessageIcon icon) override {
        calls.push_back(L"message");
        messages.push_back({text, icon});
    }
    void Close() override { closed = true; }

    void PostCopyProgress(unsigned permille) override {
        const std::lock_guard lock(posted_);
        postedProgress_.push_back(permille);
    }
    void PostCopyFinished() override {
        const std::lock_guard lock(posted_);
        finishPosted_ = true;
        finish_.notify_all();
    }
    // Waits for the copy's end to be posted and returns the progress posted before it; nothing
    // if the end is not posted within a minute, so that a lost post fails rather than hangs.
    std::optional<std::vector<unsigned>> TakePostsOnceFinished() {
        std::unique_lock lock(posted_);
        if (!finish_.wait_for(lock, std::chrono::minutes(1), [this] { return finishPosted_; })) {
            return std::nullopt;
        }
        finishPosted_ = false;
        return std::exchange(postedProgress_, {});
    }

    // The state a fresh window has before its load sequence runs.
    std::wstring sourcePathText;
    std::wstring statusText = L"lblStatus";
    bool okEnabled = false;
    bool cancelEnabled = true;
    bool browseEnabled = true;
    bool pathReadOnly = false;
    bool copyShownInProgress = false;
    bool closed = false;

    // Button changes ("OK off"), status texts and messages, in order.
    std::vector<std::wstring> calls;
    std::vector<ShownMessage> messages;
    std::function<void()> onSourcePathChanged;

  private:
    void Record(const wchar_t* button, bool enabled) {
        calls.push_back(button + std::wstring(enabled ? L" on" : L" off"));
    }
    std::mutex posted_;
    std::condition_variable finish_;
    std::vector<unsigned> postedProgress_;
    bool finishPosted_ = false;
};

}  // namespace vestro::testing
