#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/dialog_answerer.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

using WindowEventsTest = WindowTest;

TEST_F(WindowEventsTest, SettingThePathRunsThePathCheck) {
    WriteFile(temporary.Child(L"Some Tool.dat"), "any file will do");

    window->SetSourcePathText(temporary.Text(L"Some Tool.dat"));
    EXPECT_TRUE(IsEnabled(ControlId::cmdOK)) << "an existing file";

    window->SetSourcePathText(temporary.Text());
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK)) << "a folder";

    window->SetSourcePathText(temporary.Text(L"Some Tool.dat"));
    window->SetSourcePathText(L"   ");
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK)) << "only spaces";
    EXPECT_EQ(L"   ", window->SourcePathText());
}

TEST_F(WindowEventsTest, TypingIntoThePathBoxRunsThePathCheck) {
    WriteFile(temporary.Child(L"Tarno.exe"), "");
    const std::wstring path = temporary.Text(L"Tarno.exe");
    const HWND pathBox = ControlOf(ControlId::txtSourcePath);

    SendMessageW(pathBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    EXPECT_TRUE(IsEnabled(ControlId::cmdOK));

    SendMessageW(pathBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK)) << "Tarno.exex does not exist";
    EXPECT_EQ(path + L"x", window->SourcePathText());
}

TEST_F(WindowEventsTest, OpenRunsTheLoadSequenceBeforeTheWindowIsShown) {
    window->Open(SW_SHOWNOACTIVATE);

    ASSERT_FALSE(visibleAtFileSystemCreation.empty()) << "the load sequence made no fso";
    EXPECT_FALSE(visibleAtFileSystemCreation.front()) << "the window was shown before its load";
    EXPECT_TRUE(IsWindowVisible(Handle()));
    EXPECT_EQ(L"", TextOf(ControlId::lblStatus));
}

TEST_F(WindowEventsTest, BrowseClickPutsTheChosenFileIntoThePathBox) {
    WriteFile(temporary.Child(L"Elsewhere\\Tarno.exe"), "");
    dialog.nextResult = {FileDialog::Outcome::Chosen, temporary.Text(L"Elsewhere\\Tarno.exe")};

    Click(ControlId::cmdBrowse);

    EXPECT_EQ(L"Tarno.exe", dialog.fileNameWhenShown);
    EXPECT_EQ(temporary.Text(L"Elsewhere\\Tarno.exe"), window->SourcePathText());
    EXPECT_TRUE(IsEnabled(ControlId::cmdOK));
}

TEST_F(WindowEventsTest, OKClickWithoutCommonFolderReportsItAndKeepsTheWindow) {
    window->Open(SW_SHOWNOACTIVATE);
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    DialogAnswerer answerer;

    Click(ControlId::cmdOK);

    ASSERT_EQ(1u, answerer.Dialogs().size());
    EXPECT_NE(std::wstring::npos,
              answerer.Dialogs()[0].ChildText(L"Static").find(L"Common not found."));
    EXPECT_TRUE(IsEnabled(ControlId::cmdOK));
    EXPECT_TRUE(IsEnabled(ControlId::cmdCancel));
}

class WindowKeyboardTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // An enabled OK whose click would show a message: Client\Common does not exist.
        WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
        window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        SetFocus(ControlOf(ControlId::txtSourcePath));
        Pump();
    }

    void Press(UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        Pump();
    }
};

TEST_F(WindowKeyboardTest, TabMovesTheFocusInTabOrder) {
    ASSERT_EQ(ControlOf(ControlId::txtSourcePath), GetFocus());
    Press(VK_TAB);
    EXPECT_EQ(ControlOf(ControlId::cmdBrowse), GetFocus());
    Press(VK_TAB);
    EXPECT_EQ(ControlOf(ControlId::cmdOK), GetFocus());
    Press(VK_TAB);
    EXPECT_EQ(ControlOf(ControlId::cmdCancel), GetFocus());
}

TEST_F(WindowKeyboardTest, EnterInThePathBoxDoesNotClickOK) {
    DialogAnswerer answerer;
    Press(VK_RETURN);
    EXPECT_TRUE(answerer.Dialogs().empty()) << "Enter ran the copy action";
}

TEST_F(WindowKeyboardTest, EscapeDoesNotCloseTheWindow) {
    const HWND shown = Handle();
    Press(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(IsWindow(shown));
    EXPECT_EQ(-1, TakeQuit());
}

TEST_F(WindowKeyboardTest, DisablingTheFocusedButtonPassesTheFocusOn) {
    SetFocus(ControlOf(ControlId::cmdOK));
    window->EnableOK(false);
    EXPECT_NE(ControlOf(ControlId::cmdOK), GetFocus());
    EXPECT_NE(nullptr, GetFocus());
}

}  // namespace
}  // namespace vestro::testing
