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

TEST(PathDerivation, TheFolderThatHoldsTheFileGivesCommonAndTheTarget) {
    struct Case {
        std::wstring box, exePath, commonDir;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Tarno\\Tarno.exe", L"C:\\Program Files\\Tarno\\Tarno.exe",
         L"C:\\Program Files\\Tarno\\Common"},
        {L"c:\\PROGRAM FILES (X86)\\tarno\\TARNO.EXE", L"c:\\PROGRAM FILES (X86)\\tarno\\TARNO.EXE",
         L"c:\\PROGRAM FILES (X86)\\tarno\\Common"},
        {L"   C:\\Tarno\\Tarno.exe  ", L"C:\\Tarno\\Tarno.exe", L"C:\\Tarno\\Common"},
        {L"\tC:\\T\\Tarno.exe", L"\tC:\\T\\Tarno.exe", L"\tC:\\T\\Common"},  // spaces only
        {L"\\Tarno.exe", L"\\Tarno.exe", L"\\Common"},
        {L"C:\\a.exe", L"C:\\a.exe", L"C:\\Common"},
        {L"C:\\Tools\\tool.exe", L"C:\\Tools\\tool.exe", L"C:\\Tools\\Common"},
    };
    for (const Case& item : cases) {
        const DerivationResult result = DeriveDeploymentPaths(Native(item.box), Native(L"D:\\M"));
        ASSERT_FALSE(result.status.Failed()) << ::testing::PrintToString(item.box);
        EXPECT_EQ(result.paths.exePath, Native(item.exePath));
        EXPECT_EQ(result.paths.commonDir, Native(item.commonDir));
        EXPECT_EQ(result.paths.targetDir, Native(item.commonDir + L"\\VestroData"));
        EXPECT_EQ(result.paths.sourceDir, Native(L"D:\\M\\Data"));
    }
#ifdef _WIN32
    EXPECT_EQ(DeriveDeploymentPaths(L"C:/Tarno/Tarno.exe", L"D:").paths.commonDir,
              L"C:/Tarno\\Common");
#endif
}

TEST(PathDerivation, APathWithoutAFolderPartFailsNamingIt) {
    for (const std::wstring text : {L"Tarno.exe", L"", L"    "}) {
        const DerivationResult result = DeriveDeploymentPaths(text, Native(L"D:\\M"));
        EXPECT_TRUE(result.status.Failed()) << ::testing::PrintToString(text);
        EXPECT_NE(result.status.description.find(TrimSpaces(text)), std::wstring::npos);
        EXPECT_TRUE(result.paths.commonDir.empty());
    }
}

}  // namespace
}  // namespace vestro
