#pragma once

#include <functional>
#include <string>
#include <vector>

#include "main_window/window.h"

namespace vestro::testing {

struct ShownMessage {
    std::wstring text;
    MessageIcon icon;
};

// Stands in for the Win32 window: keeps the state a user would see and the calls in order.
class RecordingWindow : public Window {
  public:
    std::wstring SourcePathText() const override { return sourcePathText; }
    void SetSourcePathText(const std::wstring& text) override {
        calls.push_back(L"SetSourcePathText(" + text + L")");
        sourcePathText = text;
        if (onSourcePathChanged) {
            onSourcePathChanged();
        }
    }
    void EnableOK(bool enabled) override {
        calls.push_back(enabled ? L"EnableOK(true)" : L"EnableOK(false)");
        okEnabled = enabled;
    }
    void EnableCancel(bool enabled) override {
        calls.push_back(enabled ? L"EnableCancel(true)" : L"EnableCancel(false)");
        cancelEnabled = enabled;
    }
    void SetStatusText(const std::wstring& text) override {
        calls.push_back(L"SetStatusText(" + text + L")");
        statusText = text;
    }
    void ProcessPendingEvents() override {
        calls.push_back(L"ProcessPendingEvents");
        if (onProcessPendingEvents) {
            onProcessPendingEvents();
        }
    }
    void ShowMessage(const std::wstring& text, MessageIcon icon) override {
        calls.push_back(L"ShowMessage");
        messages.push_back({text, icon});
    }
    void Close() override {
        calls.push_back(L"Close");
        closed = true;
    }

    // The state a fresh window has before its load sequence runs.
    std::wstring sourcePathText;
    std::wstring statusText = L"lblStatus";
    bool okEnabled = false;
    bool cancelEnabled = true;
    bool closed = false;

    std::vector<std::wstring> calls;
    std::vector<ShownMessage> messages;
    std::function<void()> onSourcePathChanged;
    std::function<void()> onProcessPendingEvents;
};

}  // namespace vestro::testing
