#include "client_location/browse_action.h"

#include <gtest/gtest.h>

#include "support/scripted_file_dialog.h"

namespace vestro {
namespace {

TEST(Browse, EveryClickStartsFromTarnoAndReturnsTheTrimmedChoiceOrNothing) {
    const std::pair<FileDialog::Result, std::optional<std::wstring>> cases[] = {
        {{FileDialog::Outcome::Chosen, L"  D:\\Apps\\Tarno.exe  "}, L"D:\\Apps\\Tarno.exe"},
        {{FileDialog::Outcome::Cancelled, L"C:\\ignored\\Tarno.exe"}, std::nullopt},
        {{FileDialog::Outcome::Failed, L"C:\\ignored\\Tarno.exe"}, std::nullopt},
    };
    testing::ScriptedFileDialog dialog;
    for (const auto& [answer, returned] : cases) {
        dialog.fileNameField = L"D:\\Apps\\Tarno.exe";  // still holds the last pick
        dialog.nextResult = answer;
        EXPECT_EQ(RunBrowseAction(dialog), returned);
        EXPECT_EQ(dialog.fileNameWhenShown, L"Tarno.exe");
    }
}

}  // namespace
}  // namespace vestro
