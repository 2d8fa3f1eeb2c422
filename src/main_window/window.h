#pragma once

#include <string>

namespace vestro {

// The values are the message-box style bits the icons stand for on Windows.
enum class MessageIcon { Information = 64, Exclamation = 48 };

inline constexpr wchar_t kApplicationTitle[] = L"VestroFile";

// What the rest of the program sees of the main window. The Win32 window implements it; tests
// use a recording fake, so every rule of the window's behaviour is tested without a display.
class Window {
  public:
    virtual ~Window() = default;

    virtual std::wstring SourcePathText() const = 0;
    // Setting the text runs the path check, as a change typed by the user does.
    virtual void SetSourcePathText(const std::wstring& text) = 0;
    virtual void EnableOK(bool enabled) = 0;
    virtual void EnableCancel(bool enabled) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    // Handles what is queued for the window once, so that changes are painted.
    virtual void ProcessPendingEvents() = 0;
    // Modal: returns when the user has dismissed the message. Caption: kApplicationTitle.
    virtual void ShowMessage(const std::wstring& text, MessageIcon icon) = 0;
    // Closes the window once the running handler has returned; the program then ends.
    virtual void Close() = 0;
};

}  // namespace vestro
