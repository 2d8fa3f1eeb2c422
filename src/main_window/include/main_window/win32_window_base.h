#pragma once

#include <windows.h>

#include "main_window/win32_owned_objects.h"

namespace vestro {

// A window whose messages reach a member function: the window procedure keeps `this` from
// WM_NCCREATE to WM_NCDESTROY and hands every message in between to HandleMessage.
class Win32WindowBase {
  public:
    Win32WindowBase(const Win32WindowBase&) = delete;
    Win32WindowBase& operator=(const Win32WindowBase&) = delete;

    HWND Handle() const { return window_.get(); }

  protected:
    Win32WindowBase() = default;
    // A window still there now is destroyed without HandleMessage, whose object is gone: a
    // derived window calls DestroyOwnWindow in its own destructor, while its members live.
    virtual ~Win32WindowBase() {
        if (window_) {
            SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
        }
    }

    // With this class's window procedure; a class registered already is taken as it is.
    static bool RegisterWindowClass(WNDCLASSEXW windowClass) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProcedure;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    // False when not created; GetLastError may say why.
    bool CreateOwnWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                         DWORD style) {
        return CreateWindowExW(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                               nullptr, nullptr, instance, this) != nullptr;
    }
    // Not through the owner, which would let go of the handle before the window's messages.
    void DestroyOwnWindow() {
        if (window_) {
            DestroyWindow(window_.get());
        }
    }
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Win32WindowBase*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_.reset(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Win32WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            static_cast<void>(self->window_.release());
        } else if (self != nullptr) {
            return self->HandleMessage(message, wParam, lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    OwnedWindow window_;
};

}  // namespace vestro
