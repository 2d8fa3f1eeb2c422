#include "window_text.h"

#include <chrono>

#include "bounded_wait.h"
#include "scenario_failure.h"

namespace vestro::end_to_end {
namespace {

// A window that does not answer within this time is hung; a scenario must not hang with it.
constexpr UINT kAnswerTimeoutMilliseconds = 5000;

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const wchar_t* what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                            kAnswerTimeoutMilliseconds, &result) == 0) {
        Fail(std::wstring(L"The window of class ") + ClassNameOf(window) + L" did not answer " +
             what + L" within " +
             SecondsText(std::chrono::milliseconds(kAnswerTimeoutMilliseconds)) + L".");
    }
    return static_cast<LRESULT>(result);
}

}  // namespace

std::wstring ReadText(HWND window) {
    const auto length =
        static_cast<std::size_t>(SendBounded(window, WM_GETTEXTLENGTH, 0, 0, L"WM_GETTEXTLENGTH"));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(SendBounded(
        window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), L"WM_GETTEXT"));
    text.resize(copied);
    return text;
}

void PutText(HWND edit, const std::wstring& text) {
    SendBounded(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), L"WM_SETTEXT");
}

std::wstring CaptionOf(HWND window) {
    wchar_t caption[512] = {};
    const int length = GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    return std::wstring(caption, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool HasClass(HWND window, std::wstring_view className) {
    const std::wstring actual = ClassNameOf(window);
    return CompareStringOrdinal(actual.c_str(), static_cast<int>(actual.size()), className.data(),
                                static_cast<int>(className.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace vestro::end_to_end
