#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vestro::testing {

// What a modal dialog showed when it came up.
struct DialogRecord {
    std::wstring caption;
    HWND owner = nullptr;
    // Class name and text of every child window, in order.
    std::vector<std::pair<std::wstring, std::wstring>> children;
    // The icon of the first icon control, as message boxes show theirs.
    HICON icon = nullptr;

    std::wstring ChildText(const std::wstring& className) const;
    bool HasChild(const std::wstring& className, const std::wstring& text) const;
};

// Answers the modal dialogs (message boxes, the open-file dialog) that come up on this thread
// while it lives: once a dialog's modal loop runs, writes down what it shows, then runs the
// answer, which posts the button press that ends the dialog.
class DialogAnswerer {
  public:
    using Answer = std::function<void(HWND dialog)>;

    explicit DialogAnswerer(Answer answer = PressOK);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }

    static void PressOK(HWND dialog);
    static void PressCancel(HWND dialog);

  private:
    static LRESULT CALLBACK OnActivation(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam);
    static UINT AnswerMessage();
    void Answered(HWND dialog);

    Answer answer_;
    HHOOK activationHook_ = nullptr;
    HHOOK messageHook_ = nullptr;
    std::set<HWND> seen_;
    std::vector<DialogRecord> dialogs_;
};

}  // namespace vestro::testing
