#include <windows.h>

#include <gtest/gtest.h>

#include "main_window/win32_message_pump.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

using MessagePumpTest = WindowTest;

TEST_F(MessagePumpTest, MessageLoopEndsWithTheProgramsExitCode) {
    PostQuitMessage(3);
    EXPECT_EQ(3, RunMessageLoop(Handle()));
}

}  // namespace
}  // namespace vestro::testing
