#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool CanCreateWindows() {
    const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!CanCreateWindows()) {
        std::fputs(
            "vestro_win32_window_tests: no window can be created, so there is no display.\n"
            "Under Wine, run with an X display, e.g. xvfb-run -a ctest --preset windows.\n",
            stderr);
        return 1;
    }
    INITCOMMONCONTROLSEX commonControls{};
    commonControls.dwSize = sizeof(commonControls);
    commonControls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&commonControls);
    return RUN_ALL_TESTS();
}
