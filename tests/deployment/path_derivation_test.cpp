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

DeploymentPaths Derive(const std::wstring& pathBoxText,
                       const std::wstring& programFolder = L"D:\\Media") {
    const DerivationResult result =
        DeriveDeploymentPaths(Native(pathBoxText), Native(programFolder));
    EXPECT_FALSE(result.status.Failed()) << "for " << ::testing::PrintToString(pathBoxText);
    return result.paths;
}

TEST(PathDerivation, TarnoPathGivesItsCommonFolderAndDataBesideTheProgram) {
    const DeploymentPaths paths = Derive(L"C:\\Program Files\\Tarno\\Tarno.exe");
    EXPECT_EQ(paths.exePath, Native(L"C:\\Program Files\\Tarno\\Tarno.exe"));
    EXPECT_EQ(paths.commonDir, Native(L"C:\\Program Files\\Tarno\\Common"));
    EXPECT_EQ(paths.targetDir, Native(L"C:\\Program Files\\Tarno\\Common\\VestroData"));
    EXPECT_EQ(paths.sourceDir, Native(L"D:\\Media\\Data"));
}

TEST(PathDerivation, LetterCaseIsCarriedThrough) {
    EXPECT_EQ(Derive(L"c:\\PROGRAM FILES (X86)\\tarno\\TARNO.EXE").commonDir,
              Native(L"c:\\PROGRAM FILES (X86)\\tarno\\Common"));
}

TEST(PathDerivation, SpacesAroundThePathBoxTextAreDropped) {
    const DeploymentPaths paths = Derive(L"   C:\\Program Files\\Tarno\\Tarno.exe  ");
    EXPECT_EQ(paths.exePath, Native(L"C:\\Program Files\\Tarno\\Tarno.exe"));
    EXPECT_EQ(paths.commonDir, Native(L"C:\\Program Files\\Tarno\\Common"));
}

TEST(PathDerivation, ShortPathsAtTheRootOfADrive) {
    EXPECT_EQ(Derive(L"\\Tarno.exe").commonDir, Native(L"\\Common"));
    EXPECT_EQ(Derive(L"C:\\Tarno.exe").commonDir, Native(L"C:\\Common"));
    EXPECT_EQ(Derive(L"C:\\a.exe").commonDir, Native(L"C:\\Common"));
}

TEST(PathDerivation, OtherFileNamesUseTheFolderThatHoldsTheFile) {
    EXPECT_EQ(Derive(L"C:\\Tools\\tool.exe").commonDir, Native(L"C:\\Tools\\Common"));
    EXPECT_EQ(Derive(L"C:\\Tarno\\TarnoClient.exe").commonDir, Native(L"C:\\Tarno\\Common"));
}

TEST(PathDerivation, PathWithoutAFolderPartFails) {
    for (const std::wstring text : {L"Tarno.exe", L"a.exe", L"", L"    "}) {
        const DerivationResult result = DeriveDeploymentPaths(text, Native(L"D:\\Media"));
        EXPECT_TRUE(result.status.Failed()) << ::testing::PrintToString(text);
        EXPECT_NE(result.status.description.find(TrimSpaces(text)), std::wstring::npos);
        EXPECT_TRUE(result.paths.commonDir.empty());
    }
}

#ifdef _WIN32
TEST(PathDerivation, ForwardSlashesSeparateFoldersOnWindows) {
    EXPECT_EQ(Derive(L"C:/Program Files/Tarno/Tarno.exe").commonDir,
              L"C:/Program Files/Tarno\\Common");
    EXPECT_EQ(Derive(L"C:\\Program Files/Tarno\\Tarno.exe").commonDir,
              L"C:\\Program Files/Tarno\\Common");
}
#endif

}  // namespace
}  // namespace vestro
