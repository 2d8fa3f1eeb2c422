#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "win32/dialog_answerer.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

using WindowCloseTest = WindowTest;

TEST_F(WindowCloseTest, CloseWaitsForTheMessageLoopAndThenEndsTheProgram) {
    const HWND opened = Handle();

    window->Close();
    EXPECT_TRUE(IsWindow(opened)) << "Close destroyed the window under its caller";

    Pump();
    EXPECT_FALSE(IsWindow(opened));
    EXPECT_EQ(0, TakeQuit()) << "the program does not end with the window";
}

TEST_F(WindowCloseTest, CancelClosesTheWindowOnceItsClickIsHandled) {
    const HWND opened = Handle();

    Click(ControlId::cmdCancel);
    EXPECT_TRUE(IsWindow(opened));

    Pump();
    EXPECT_FALSE(IsWindow(opened));
}

TEST_F(WindowCloseTest, CloseBoxClosesTheWindowLikeCancel) {
    const HWND opened = Handle();

    PostMessageW(opened, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();

    EXPECT_FALSE(IsWindow(opened));
    EXPECT_EQ(0, TakeQuit());
}

TEST_F(WindowCloseTest, CloseRequestWhileTheLoadShowsItsMessageClosesOnceTheLoadIsDone) {
    failFileSystemCreation = true;  // the load sequence shows its failure message
    const HWND opened = Handle();
    DialogAnswerer answerer([opened](HWND message) {
        PostMessageW(opened, WM_CLOSE, 0, 0);
        DialogAnswerer::PressOK(message);
    });

    window->Open(SW_SHOWNOACTIVATE);

    ASSERT_EQ(1u, answerer.Dialogs().size());
    EXPECT_TRUE(IsWindow(opened)) << "destroyed under the running load sequence";
    Pump();
    EXPECT_FALSE(IsWindow(opened)) << "the close request was lost";
}

}  // namespace
}  // namespace vestro::testing
