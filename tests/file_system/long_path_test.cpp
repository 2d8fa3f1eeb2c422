#include <filesystem>
#include <string>

#include "file_system/path_text.h"
#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

// Windows' old limit is 260 characters; everything below it is made through the service itself,
// since other tools may not reach that far.
TEST_F(FileSystemLongPath, TreesBeyond260CharactersAreCopiedMovedAndDeleted) {
    WriteFile(Child(L"source/a/b.txt"), "deep");
    MakeFolder(Child(L"source/empty"));
    MakeFolder(Child(L"empty"));
    std::wstring deep = Text(L"long");
    for (;;) {
        const Status made = fileSystem->CopyFolder(Text(L"empty"), deep, true);
        ASSERT_FALSE(made.Failed()) << made.description;
        if (deep.size() > 300) {
            break;
        }
        deep = JoinPath(deep, std::wstring(60, L'x'));
    }
    const std::wstring copy = JoinPath(deep, L"copy");
    const std::wstring moved = JoinPath(deep, L"moved");

    const Status copied = fileSystem->CopyFolder(Text(L"source"), copy, true);
    ASSERT_FALSE(copied.Failed()) << copied.description;
    EXPECT_TRUE(fileSystem->FileExists(JoinPath(JoinPath(copy, L"a"), L"b.txt")).exists);

    const Status renamed = fileSystem->MoveFolder(copy, moved);
    ASSERT_FALSE(renamed.Failed()) << renamed.description;
    EXPECT_FALSE(fileSystem->FolderExists(copy).exists);

    const Status copiedBack = fileSystem->CopyFolder(moved, Text(L"back"), true);
    ASSERT_FALSE(copiedBack.Failed()) << copiedBack.description;
    EXPECT_EQ(SnapshotTree(Child(L"back")), SnapshotTree(Child(L"source")));

    const Status deleted = fileSystem->DeleteFolder(Text(L"long"), true);
    EXPECT_FALSE(deleted.Failed()) << deleted.description;
    EXPECT_FALSE(fileSystem->FolderExists(Text(L"long")).exists);
}

}  // namespace
}  // namespace vestro::file_system_tests
