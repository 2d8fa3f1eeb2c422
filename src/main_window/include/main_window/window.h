#pragma once

#include <string>

namespace vestro {

// The values are the message-box style bits the icons stand for on Windows.
enum class MessageIcon { Information = 64, Exclamation = 48 };

// What the window's behaviour sees of the main window. The Win32 window implements it; tests
// use a recording fake, so every rule of the window's behaviour is tested without a display.
// All calls come from the window's thread, except the two Post calls.
class Window {
  public:
    virtual ~Window() = default;

    virtual std::wstring SourcePathText() const = 0;
    // Setting the text runs the path check, as a change typed by the user does.
    virtual void SetSourcePathText(const std::wstring& text) = 0;
    virtual void SetSourcePathReadOnly(bool readOnly) = 0;
    virtual void EnableOK(bool enabled) = 0;
    virtual void EnableCancel(bool enabled) = 0;
    virtual void EnableBrowse(bool enabled) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    // While shown, the pointer over the window tells that work goes on in the background, and
    // a progress bar in the window and on the taskbar button carries the copy's progress: moving
    // without a share while the data is measured, until the first PostCopyProgress.
    virtual void ShowCopyInProgress(bool shown) = 0;
    // Modal: returns when the user has dismissed the message. Caption: kApplicationTitle.
    virtual void ShowMessage(const std::wstring& text, MessageIcon icon) = 0;
    // Closes the window once the running handler has returned; the program then ends.
    virtual void Close() = 0;

    // From the copy's worker thread, in this order: the share copied, in thousandths, each time
    // it changes (shown by the progress bars), then once the copy's outcome, which arrives on
    // the window's thread as MainWindowBehaviour::OnCopyFinished after all progress before it.
    virtual void PostCopyProgress(unsigned permille) = 0;
    virtual void PostCopyFinished() = 0;
};

}  // namespace vestro
