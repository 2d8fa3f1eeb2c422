#include "main_window/win32_shutdown_reason.h"

namespace vestro {
namespace {

class SystemReason final : public ShutdownReason {
  public:
    void Show(HWND window, const wchar_t* reason) override {
        ShutdownBlockReasonCreate(window, reason);
    }
    void Remove(HWND window) override { ShutdownBlockReasonDestroy(window); }
};

}  // namespace

ShutdownReason& SystemShutdownReason() {
    static SystemReason reason;
    return reason;
}

}  // namespace vestro
