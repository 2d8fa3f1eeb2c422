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
    struct Row {
        std::wstring box, exePath, commonDir;
    };
    const Row rows[] = {
        {L"C:\\Program Files\\Tarno\\Tarno.exe", L"C:\\Program Files\\Tarno\\Tarno.exe",
         L"C:\\Program Files\\Tarno\\Common"},
        {L"c:\\PROGRAM FILES (X86)\\tarno\\TARNO.EXE", L"c:\\PROGRAM FILES (X86)\\tarno\\TARNO.EXE",
         L"c:\\PROGRAM FILES (X86)\\tarno\\Common"},
        {L"   C:\\Tarno\\Tarno.exe  ", L"C:\\Tarno\\Tarno.exe", L"C:\\Tarno\\Common"},
        {L" \"C:\\Tarno\\Tarno.exe\" ", L"C:\\Tarno\\Tarno.exe", L"C:\\Tarno\\Common"},
        {L"\"C:\\Tarno\\Tarno.exe", L"\"C:\\Tarno\\Tarno.exe", L"\"C:\\Tarno\\Common"},
        {L"\tC:\\T\\Tarno.exe", L"\tC:\\T\\Tarno.exe", L"\tC:\\T\\Common"},  // only spaces go
        {L"\\Tarno.exe", L"\\Tarno.exe", L"\\Common"},
        {L"C:\\Tools\\tool.exe", L"C:\\Tools\\tool.exe", L"C:\\Tools\\Common"},
        {L"Tarno.exe", L"Tarno.exe", L""},
        {L"\"\"", L"", L""},
        {L"    ", L"", L""},
    };
    for (const Row& row : rows) {
        const DerivationResult result = DeriveDeploymentPaths(Native(row.box), Native(L"D:\\M"));
        EXPECT_EQ(result.status.Failed(), row.commonDir.empty())
            << ::testing::PrintToString(row.box);
        EXPECT_EQ(result.paths.commonDir, Native(row.commonDir));
        if (row.commonDir.empty()) {
            EXPECT_NE(result.status.description.find(L"\"" + row.exePath + L"\""),
                      std::wstring::npos);
            continue;
        }
        EXPECT_EQ(result.paths.exePath, Native(row.exePath));
        EXPECT_EQ(result.paths.targetDir, Native(row.commonDir + L"\\VestroData"));
        EXPECT_EQ(result.paths.sourceDir, Native(L"D:\\M\\Data"));
    }
#ifdef _WIN32
    EXPECT_EQ(DeriveDeploymentPaths(L"C:/Tarno/Tarno.exe", L"D:").paths.commonDir,
              L"C:/Tarno\\Common");
#endif
}

}  // namespace
}  // namespace vestro
