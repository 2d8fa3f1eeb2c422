#include "client_location/browse_action.h"

#include <gtest/gtest.h>

#include "support/scripted_file_dialog.h"
#ifdef _WIN32
#include "client_location/win32_file_dialog.h"
#endif

namespace vestro {
namespace {

TEST(Browse, EveryClickStartsFromTarnoAndReturnsTheTrimmedChoiceOrNothing) {
    const std::pair<FileDialog::Result, std::optional<std::wstring>> cases[] = {
        {{FileDialog::Outcome::Chosen, L"  D:\\Apps\\Tarno.exe  "}, L"D:\\Apps\\Tarno.exe"},
        {{FileDialog::Outcome::Cancelled, L"C:\\ignored\\Tarno.exe"}, std::nullopt},
    };
    for (const auto& [answer, returned] : cases) {
        testing::ScriptedFileDialog dialog;
        dialog.fileNameField = L"D:\\Apps\\Tarno.exe";  // still holds the last pick
        dialog.nextResult = answer;
        EXPECT_EQ(RunBrowseAction(dialog), returned);
        EXPECT_EQ(dialog.fileNameWhenShown, L"Tarno.exe");
        EXPECT_TRUE(dialog.cancelError);
        EXPECT_EQ(dialog.filter, L"Tarno.exe|Tarno.exe");
        EXPECT_EQ(dialog.flags, 4096u);
    }
#ifdef _WIN32
    EXPECT_EQ(OpenFileNameFilter(L"Tarno.exe|Tarno.exe"),
              std::wstring(L"Tarno.exe\0Tarno.exe\0\0", 21));
#endif
}

}  // namespace
}  // namespace vestro
