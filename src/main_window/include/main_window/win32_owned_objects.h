#pragma once

#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <type_traits>

namespace vestro {

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};

// A window destroyed once, when its owner goes; released instead at WM_NCDESTROY, after which
// the handle may name another window.
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
// A font deleted once; its owner must outlive the controls that draw with it.
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
// One reference to a COM object, released once.
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComReleaser>;

}  // namespace vestro
