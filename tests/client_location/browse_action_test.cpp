#include "client_location/browse_action.h"

#include <gtest/gtest.h>

#include "support/scripted_file_dialog.h"

namespace vestro {
namespace {

TEST(Browse, EveryClickSetsTheDialogUpAfreshAndReturnsTheTrimmedChoiceOrNothing) {
    const std::vector<std::wstring> settingsThenShow = {L"FileName=Tarno.exe", L"CancelError=true",
                                                        L"Filter=Tarno.exe|Tarno.exe",
                                                        L"Flags=4096", L"ShowOpen"};
    struct Case {
        FileDialog::Result answer;
        std::optional<std::wstring> returned;
    };
    const Case cases[] = {
        {{FileDialog::Outcome::Chosen, L"  D:\\Apps\\Tarno.exe  "}, L"D:\\Apps\\Tarno.exe"},
        {{FileDialog::Outcome::Cancelled, L"C:\\ignored\\Tarno.exe"}, std::nullopt},
        {{FileDialog::Outcome::Failed, L"C:\\ignored\\Tarno.exe"}, std::nullopt},
    };
    testing::ScriptedFileDialog dialog;
    for (const Case& each : cases) {
        // The name field still holds the last pick; every click starts from Tarno.exe again.
        dialog.fileNameField = L"D:\\Apps\\Tarno.exe";
        dialog.calls.clear();
        dialog.nextResult = each.answer;
        EXPECT_EQ(RunBrowseAction(dialog), each.returned);
        EXPECT_EQ(dialog.calls, settingsThenShow);
        EXPECT_EQ(dialog.fileNameWhenShown, L"Tarno.exe");
    }
}

}  // namespace
}  // namespace vestro
