#include <filesystem>
#include <string>
#include <vector>

#include "file_system/path_text.h"
#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

TEST_F(FileSystemExistence, FileExistsIsTrueOnlyForAFile) {
    WriteFile(Child(L"folder/file.txt"), "x");

    for (const auto& [path, expected] :
         std::vector<std::pair<std::wstring, bool>>{{Text(L"folder/file.txt"), true},
                                                    {Text(L"folder"), false},
                                                    {Text(L"folder/missing.txt"), false},
                                                    {Text(L"missing/file.txt"), false}}) {
        const ExistsResult result = fileSystem->FileExists(path);
        EXPECT_EQ(result.exists, expected) << path;
        EXPECT_FALSE(result.status.Failed()) << path;
    }
}

TEST_F(FileSystemExistence, FolderExistsIsTrueOnlyForAFolder) {
    WriteFile(Child(L"folder/file.txt"), "x");

    for (const auto& [path, expected] :
         std::vector<std::pair<std::wstring, bool>>{{Text(L"folder"), true},
                                                    {JoinPath(Text(L"folder"), L""), true},
                                                    {Text(L"folder/file.txt"), false},
                                                    {Text(L"missing"), false}}) {
        const ExistsResult result = fileSystem->FolderExists(path);
        EXPECT_EQ(result.exists, expected) << path;
        EXPECT_FALSE(result.status.Failed()) << path;
    }
}

// Text with leading spaces, or with characters no name may hold, names nothing.
TEST_F(FileSystemExistence, OddTextNamesNothingAndDoesNotFail) {
    WriteFile(Child(L"file.txt"), "x");
    MakeFolder(Child(L"folder"));
    const std::wstring file = Text(L"file.txt");
    const std::wstring folder = Text(L"folder");

    for (const std::wstring& path :
         {std::wstring(), std::wstring(L"   "), L" " + file, Text(L"fil?.txt"), Text(L"*"),
          Text(L"file<.txt"), Text(L"file|.txt"), Text(L"\"file.txt\""),
          file + std::wstring(1, L'\0') + L"more"}) {
        for (const ExistsResult& result :
             {fileSystem->FileExists(path), fileSystem->FolderExists(path)}) {
            EXPECT_FALSE(result.exists) << path;
            EXPECT_FALSE(result.status.Failed()) << path;
        }
    }
}

TEST_F(FileSystemExistence, RelativePathsAndForwardSlashesAreAccepted) {
    WriteFile(Child(L"folder/file.txt"), "x");
    const fs::path previous = fs::current_path();
    fs::current_path(root.Path());

    const ExistsResult relativeFile = fileSystem->FileExists(L"folder/file.txt");
    const ExistsResult relativeFolder = fileSystem->FolderExists(L"./folder");
    const Status relativeDelete = fileSystem->DeleteFolder(L"folder", true);
    fs::current_path(previous);

    EXPECT_TRUE(relativeFile.exists);
    EXPECT_TRUE(relativeFolder.exists);
    EXPECT_FALSE(relativeDelete.Failed()) << relativeDelete.description;
    EXPECT_FALSE(fs::exists(Child(L"folder")));

    WriteFile(Child(L"other/file.txt"), "x");
    EXPECT_TRUE(fileSystem->FileExists(root.Child(L"other/file.txt").generic_wstring()).exists);
}

}  // namespace
}  // namespace vestro::file_system_tests
