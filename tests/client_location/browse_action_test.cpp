#include "client_location/browse_action.h"

#include <gtest/gtest.h>

#include "support/recording_window.h"
#include "support/scripted_file_dialog.h"

namespace vestro {
namespace {

using testing::RecordingWindow;
using testing::ScriptedFileDialog;

const std::vector<std::wstring> kSettingsThenShow = {L"FileName=Tarno.exe", L"CancelError=true",
                                                     L"Filter=Tarno.exe|Tarno.exe", L"Flags=4096",
                                                     L"ShowOpen"};

class Browse : public ::testing::Test {
  protected:
    Browse() {
        window.sourcePathText = L"C:\\before\\Tarno.exe";
        window.statusText = L"Copying Files.  Please Wait...";
        window.okEnabled = true;
    }
    RecordingWindow window;
    ScriptedFileDialog dialog;
};

TEST_F(Browse, EveryClickSetsTheDialogUpAfreshAndTakesTheTrimmedChoice) {
    dialog.nextResult = {FileDialog::Outcome::Chosen, L"  D:\\Apps\\Tarno\\Tarno.exe  "};
    RunBrowseAction(window, dialog);
    EXPECT_EQ(dialog.calls, kSettingsThenShow);
    EXPECT_EQ(window.sourcePathText, L"D:\\Apps\\Tarno\\Tarno.exe");

    // The dialog's name field held the last pick; a second click starts from Tarno.exe again.
    dialog.fileNameField = L"D:\\Apps\\Tarno\\Tarno.exe";
    dialog.calls.clear();
    dialog.nextResult = {FileDialog::Outcome::Chosen, L"E:\\Tarno.exe"};
    RunBrowseAction(window, dialog);
    EXPECT_EQ(dialog.calls, kSettingsThenShow);
    EXPECT_EQ(dialog.fileNameWhenShown, L"Tarno.exe");
    EXPECT_EQ(window.sourcePathText, L"E:\\Tarno.exe");
}

TEST_F(Browse, CancelOrAFailingDialogChangesNothing) {
    for (const auto outcome : {FileDialog::Outcome::Cancelled, FileDialog::Outcome::Failed}) {
        dialog.nextResult = {outcome, L"C:\\ignored\\Tarno.exe"};
        RunBrowseAction(window, dialog);
        EXPECT_TRUE(window.calls.empty());
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(window.sourcePathText, L"C:\\before\\Tarno.exe");
        EXPECT_TRUE(window.okEnabled);
        EXPECT_EQ(window.statusText, L"Copying Files.  Please Wait...");
    }
}

}  // namespace
}  // namespace vestro
