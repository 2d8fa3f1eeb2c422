#include <windows.h>

#include <gtest/gtest.h>

#include "main_window/win32_message_pump.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

using MessagePumpTest = WindowTest;

TEST_F(MessagePumpTest, QuitMetWhileProcessingPendingEventsIsPostedAgain) {
    PostQuitMessage(7);

    ProcessPendingMessages(Handle());

    EXPECT_TRUE(IsWindow(Handle()));
    EXPECT_EQ(7, TakeQuit()) << "the message loop would never end";
}

TEST_F(MessagePumpTest, ProcessingPendingEventsHandlesWhatIsQueuedAndReturns) {
    const HWND pathBox = ControlOf(ControlId::txtSourcePath);
    SetFocus(pathBox);
    PostMessageW(pathBox, WM_CHAR, L'C', 1);
    PostMessageW(pathBox, WM_CHAR, L':', 1);

    ProcessPendingMessages(Handle());

    EXPECT_EQ(L"C:", window->SourcePathText());
}

TEST_F(MessagePumpTest, MessageLoopEndsWithTheProgramsExitCode) {
    PostQuitMessage(3);
    EXPECT_EQ(3, RunMessageLoop(Handle()));
}

}  // namespace
}  // namespace vestro::testing
