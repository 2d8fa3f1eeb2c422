#include <chrono>
#include <filesystem>

#include "file_system/path_text.h"
#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

TEST_F(FileSystemCopy, TheWholeTreeArrivesDirectlyInTheNewFolder) {
    WriteFile(Child(L"source/top.txt"), "top");
    WriteFile(Child(L"source/binary.bin"), BinaryContent(3 * 1024 * 1024 + 17));
    WriteFile(Child(L"source/empty.bin"), "");
    WriteFile(Child(L"source/a/b/c/deep.txt"), "deep");
    MakeFolder(Child(L"source/empty"));
    MakeFolder(Child(L"source/a/empty-inside"));

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_EQ(SnapshotTree(Child(L"copy")), SnapshotTree(Child(L"source")));
    EXPECT_FALSE(fs::exists(Child(L"copy/source")));
}

TEST_F(FileSystemCopy, NamesOutsideAsciiSurvive) {
    WriteFile(Child(L"Données/数据/résumé.txt"), "é");
    WriteFile(Child(L"Données/数据.bin"), BinaryContent(100));
    MakeFolder(Child(L"Données/空"));

    const Status status = fileSystem->CopyFolder(Text(L"Données"), Text(L"数据"), true);

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_EQ(SnapshotTree(Child(L"数据")), SnapshotTree(Child(L"Données")));
    EXPECT_TRUE(fileSystem->FileExists(Text(L"数据/数据/résumé.txt")).exists);
}

TEST_F(FileSystemCopy, AReadOnlyFileStaysReadOnlyAndTheCopyCanStillBeDeleted) {
    WriteFile(Child(L"source/sub/read-only.txt"), "x");
    MakeReadOnly(Child(L"source/sub/read-only.txt"));

    const Status copied = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    ASSERT_FALSE(copied.Failed()) << copied.description;
    EXPECT_TRUE(IsReadOnly(Child(L"copy/sub/read-only.txt")));

    const Status deleted = fileSystem->DeleteFolder(Text(L"copy"), true);
    EXPECT_FALSE(deleted.Failed()) << deleted.description;
    EXPECT_FALSE(fs::exists(Child(L"copy")));
    EXPECT_TRUE(IsReadOnly(Child(L"source/sub/read-only.txt")));
}

TEST_F(FileSystemCopy, OverwriteReplacesFilesOfTheSameNameAndKeepsOthers) {
    WriteFile(Child(L"source/same.txt"), "new");
    WriteFile(Child(L"source/sub/added.txt"), "added");
    WriteFile(Child(L"target/same.txt"), "old content");
    WriteFile(Child(L"target/extra.txt"), "extra");

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"target"), true);

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_EQ(SnapshotTree(Child(L"target")),
              (TreeSnapshot{{L"same.txt", "new"},
                            {L"extra.txt", "extra"},
                            {L"sub", "<folder>"},
                            {JoinPath(L"sub", L"added.txt"), "added"}}));
}

TEST_F(FileSystemCopy, WithoutOverwriteAnExistingFileStopsIt) {
    WriteFile(Child(L"source/same.txt"), "new");
    WriteFile(Child(L"target/same.txt"), "old");

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"target"), false);

    EXPECT_TRUE(IsDescribedFailure(status, JoinPath(Text(L"source"), L"same.txt")));
    EXPECT_EQ(SnapshotTree(Child(L"target")), (TreeSnapshot{{L"same.txt", "old"}}));
}

TEST_F(FileSystemCopy, AMissingSourceFailsNamingIt) {
    const Status status = fileSystem->CopyFolder(Text(L"missing"), Text(L"copy"), true);

    EXPECT_TRUE(IsDescribedFailure(status, Text(L"missing")));
    EXPECT_FALSE(fs::exists(Child(L"copy")));
}

TEST_F(FileSystemCopy, AFileThatCannotBeReadFailsNamingIt) {
    WriteFile(Child(L"source/fine.txt"), "x");
    MakeFolder(Child(L"source/sub"));
    const FileThatCannotBeRead unreadable(Child(L"source/sub/unreadable.txt"));

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);

    EXPECT_TRUE(
        IsDescribedFailure(status, JoinPath(JoinPath(Text(L"source"), L"sub"), L"unreadable.txt")));
}

TEST_F(FileSystemCopy, AMissingParentOfTheDestinationFailsNamingIt) {
    WriteFile(Child(L"source/file.txt"), "x");

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"missing/copy"), true);

    EXPECT_TRUE(IsDescribedFailure(status, Text(L"missing/copy")));
}

#ifdef _WIN32
// Natively the copy's times are those of the copying, as with cp.
TEST_F(FileSystemCopy, FilesKeepTheirLastWriteTime) {
    WriteFile(Child(L"source/old.txt"), "x");
    const fs::file_time_type then =
        fs::last_write_time(Child(L"source/old.txt")) - std::chrono::hours(24 * 365 * 3);
    fs::last_write_time(Child(L"source/old.txt"), then);

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_EQ(fs::last_write_time(Child(L"copy/old.txt")), then);
}
#endif

}  // namespace
}  // namespace vestro::file_system_tests
