#include "win32/dialog_answerer.h"

#include <stdexcept>
#include <utility>

namespace vestro::testing {
namespace {

DialogAnswerer* current = nullptr;

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A drop-down list has no text of its own: its selected item stands for it.
std::wstring SelectedItemOf(HWND comboBox) {
    const LRESULT selected = SendMessageW(comboBox, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) {
        return {};
    }
    std::wstring text(
        static_cast<std::size_t>(SendMessageW(comboBox, CB_GETLBTEXTLEN, selected, 0)), L'\0');
    SendMessageW(comboBox, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

BOOL CALLBACK RecordChild(HWND child, LPARAM recordAddress) {
    auto& record = *reinterpret_cast<DialogRecord*>(recordAddress);
    const std::wstring className = ClassNameOf(child);
    std::wstring text = TextOf(child);
    if (text.empty() && _wcsicmp(className.c_str(), L"ComboBox") == 0) {
        text = SelectedItemOf(child);
    }
    record.children.emplace_back(className, text);
    const bool isIcon = (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (record.icon == nullptr && _wcsicmp(className.c_str(), L"Static") == 0 && isIcon) {
        record.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return TRUE;
}

}  // namespace

std::wstring DialogRecord::ChildText(const std::wstring& className) const {
    std::wstring text;
    for (const auto& [name, childText] : children) {
        if (_wcsicmp(name.c_str(), className.c_str()) == 0) {
            text += childText;
        }
    }
    return text;
}

bool DialogRecord::HasChild(const std::wstring& className, const std::wstring& text) const {
    for (const auto& [name, childText] : children) {
        if (_wcsicmp(name.c_str(), className.c_str()) == 0 && childText == text) {
            return true;
        }
    }
    return false;
}

DialogAnswerer::DialogAnswerer(Answer answer) : answer_(std::move(answer)) {
    if (current != nullptr) {
        throw std::logic_error("one DialogAnswerer at a time");
    }
    activationHook_ = SetWindowsHookExW(WH_CBT, OnActivation, nullptr, GetCurrentThreadId());
    messageHook_ = SetWindowsHookExW(WH_GETMESSAGE, OnMessage, nullptr, GetCurrentThreadId());
    if (activationHook_ == nullptr || messageHook_ == nullptr) {
        throw std::runtime_error("cannot hook the dialogs of this thread");
    }
    current = this;
}

DialogAnswerer::~DialogAnswerer() {
    UnhookWindowsHookEx(activationHook_);
    UnhookWindowsHookEx(messageHook_);
    current = nullptr;
}

void DialogAnswerer::PressOK(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void DialogAnswerer::PressCancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

LRESULT CALLBACK DialogAnswerer::OnActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current != nullptr) {
        const HWND activated = reinterpret_cast<HWND>(wParam);
        // The dialog may still be filling its controls: answer once its modal loop runs.
        if (ClassNameOf(activated) == L"#32770") {
            PostMessageW(activated, AnswerMessage(), 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogAnswerer::OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto& message = *reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message.message == AnswerMessage() &&
        current != nullptr) {
        message.message = WM_NULL;
        current->Answered(message.hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

UINT DialogAnswerer::AnswerMessage() {
    static const UINT message = RegisterWindowMessageW(L"VestroFile.DialogAnswerer.Answer");
    return message;
}

void DialogAnswerer::Answered(HWND dialog) {
    // A dialog is activated again when a box it opened goes away; it is answered once.
    if (!seen_.insert(dialog).second) {
        return;
    }
    DialogRecord record;
    record.caption = TextOf(dialog);
    record.owner = GetWindow(dialog, GW_OWNER);
    EnumChildWindows(dialog, RecordChild, reinterpret_cast<LPARAM>(&record));
    dialogs_.push_back(std::move(record));
    answer_(dialog);
}

}  // namespace vestro::testing
