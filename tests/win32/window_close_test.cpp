#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "deployment/copy_action.h"
#include "win32/dialog_answerer.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

bool HasQueued(UINT message) {
    MSG queued;
    return PeekMessageW(&queued, nullptr, message, message, PM_NOREMOVE) != FALSE;
}

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

TEST_F(WindowCloseTest, CloseRequestDuringTheCopyIsIgnored) {
    window->Open(SW_SHOWNOACTIVATE);
    // Without Data beside the program the copy fails after its pass over pending events.
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    MakeFolder(temporary.Child(L"Client\\Common"));
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    const HWND opened = Handle();
    DialogAnswerer answerer;

    PostMessageW(opened, WM_CLOSE, 0, 0);
    Click(ControlId::cmdOK);

    EXPECT_FALSE(HasQueued(WM_CLOSE)) << "the copy did not pass over the pending events";
    ASSERT_EQ(1u, answerer.Dialogs().size());
    EXPECT_NE(std::wstring::npos,
              answerer.Dialogs()[0].ChildText(L"Static").find(kCopyFailedPrefix));
    Pump();
    EXPECT_TRUE(IsWindow(opened)) << "the close request was kept for later";
    EXPECT_EQ(kCopyingStatus, TextOf(ControlId::lblStatus));
    EXPECT_TRUE(IsEnabled(ControlId::cmdCancel));
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

TEST_F(WindowCloseTest, SuccessfulCopyClosesTheWindowAfterItsHandlerReturns) {
    window->Open(SW_SHOWNOACTIVATE);
    window->SetSourcePathText(LayOutClientAndData());
    const HWND opened = Handle();
    DialogAnswerer answerer;

    PostMessageW(opened, WM_CLOSE, 0, 0);  // a close box click in the middle of the copy
    Click(ControlId::cmdOK);

    ASSERT_EQ(1u, answerer.Dialogs().size());
    EXPECT_NE(std::wstring::npos,
              answerer.Dialogs()[0].ChildText(L"Static").find(kCopySucceededMessage));
    EXPECT_TRUE(
        std::filesystem::exists(temporary.Child(L"Client\\Common\\VestroData\\readme.txt")));
    EXPECT_TRUE(IsWindow(opened)) << "destroyed under the running copy";

    Pump();
    EXPECT_FALSE(IsWindow(opened));
    EXPECT_EQ(0, TakeQuit());
}

}  // namespace
}  // namespace vestro::testing
