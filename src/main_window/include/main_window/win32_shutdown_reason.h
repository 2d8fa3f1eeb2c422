#pragma once

#include <windows.h>

namespace vestro {

// The sentence Windows shows for a window that holds off a sign-out or shutdown, and asks the
// user whether to wait. Wine keeps no such reason.
class ShutdownReason {
  public:
    virtual ~ShutdownReason() = default;

    virtual void Show(HWND window, const wchar_t* reason) = 0;
    virtual void Remove(HWND window) = 0;
};

// ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy.
ShutdownReason& SystemShutdownReason();

}  // namespace vestro
