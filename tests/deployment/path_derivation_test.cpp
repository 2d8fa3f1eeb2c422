#include "deployment/path_derivation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "file_system/path_text.h"

namespace vestro {
namespace {

// Writes a Windows-style path with this platform's separator, so the same cases run everywhere.
std::wstring Native(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', kPathSeparator);
    return path;
}

// The folder that holds the file, then Common; no folder part fails, naming the text. A path in
// quotes, as the system's "Copy as path" gives it, is read without them.
TEST(PathDerivation, TheFolderThatHoldsTheFileGivesCommonAndTheTarget) {
    struct Case {
        std::wstring box, exePath, commonDir;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Tarno\\Tarno.exe", L"C:\\Program Files\\Tarno\\Tarno.exe",
         L"C:\\Program Files\\Tarno\\Common"},
        {L"   C:\\Tarno\\Tarno.exe  ", L"C:\\Tarno\\Tarno.exe", L"C:\\Tarno\\Common"},
        {L" \"C:\\Tarno\\Tarno.exe\" ", L"C:\\Tarno\\Tarno.exe", L"C:\\Tarno\\Common"},
        {L"\"C:\\Tarno\\Tarno.exe", L"\"C:\\Tarno\\Tarno.exe", L"\"C:\\Tarno\\Common"},
        {L"\"\"", L"", L""},
        {L"\tC:\\T\\Tarno.exe ", L"\tC:\\T\\Tarno.exe", L"\tC:\\T\\Common"},  // only spaces go
        {L"C:\\Tools\\tool.exe", L"C:\\Tools\\tool.exe", L"C:\\Tools\\Common"},
        {L" Tarno.exe ", L"Tarno.exe", L""},
        {L"    ", L"", L""},
    };
    for (const auto& [box, exePath, commonDir] : cases) {
        const Result<DeploymentPaths> result = DeriveDeploymentPaths(Native(box), Native(L"D:\\M"));
        EXPECT_EQ(result.status.Failed(), commonDir.empty()) << ::testing::PrintToString(box);
        EXPECT_EQ(result.value.commonDir, Native(commonDir));
        if (commonDir.empty()) {
            EXPECT_NE(result.status.description.find(L"\"" + exePath + L"\""), std::wstring::npos);
            continue;
        }
        EXPECT_EQ(result.value.exePath, Native(exePath));
        EXPECT_EQ(result.value.targetDir, Native(commonDir + L"\\VestroData"));
        EXPECT_EQ(result.value.sourceDir, Native(L"D:\\M\\Data"));
    }
    EXPECT_EQ(HoldingFolderOf(Native(L"C:\\T\\Common\\VestroData")), Native(L"C:\\T\\Common"));
    EXPECT_EQ(HoldingFolderOf(Native(L"\\VestroData")), Native(L"\\"));
#ifdef _WIN32
    EXPECT_EQ(DeriveDeploymentPaths(L"C:/Tarno/Tarno.exe", L"D:").value.commonDir,
              L"C:/Tarno\\Common");
#endif
}

}  // namespace
}  // namespace vestro
