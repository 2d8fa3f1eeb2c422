#include <windows.h>

#include <gtest/gtest.h>

#include "win32/dialog_answerer.h"
#include "win32/window_fixture.h"

namespace vestro::testing {
namespace {

using WindowMessageTest = WindowTest;

TEST_F(WindowMessageTest, MessageIsAModalBoxOwnedByTheWindowWithTheApplicationTitle) {
    DialogAnswerer answerer;

    window->ShowMessage(L"Files have been successfully copied.", MessageIcon::Information);

    ASSERT_EQ(1u, answerer.Dialogs().size()) << "no message box, or it did not wait";
    const DialogRecord& box = answerer.Dialogs()[0];
    EXPECT_EQ(L"VestroFile", box.caption);
    EXPECT_EQ(Handle(), box.owner);
    EXPECT_NE(std::wstring::npos,
              box.ChildText(L"Static").find(L"Files have been successfully copied."));
    EXPECT_TRUE(box.HasChild(L"Button", L"OK"));
    EXPECT_EQ(LoadIconW(nullptr, IDI_INFORMATION), box.icon);
}

TEST_F(WindowMessageTest, ExclamationMessageShowsTheExclamationIcon) {
    DialogAnswerer answerer;

    window->ShowMessage(L"C:\\Tarno\\Common not found.", MessageIcon::Exclamation);

    ASSERT_EQ(1u, answerer.Dialogs().size());
    EXPECT_EQ(LoadIconW(nullptr, IDI_EXCLAMATION), answerer.Dialogs()[0].icon);
}

}  // namespace
}  // namespace vestro::testing
