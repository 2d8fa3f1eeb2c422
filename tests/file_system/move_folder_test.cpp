#include <filesystem>

#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

TEST_F(FileSystemMove, RenamesAFolderWithEverythingInIt) {
    WriteFile(Child(L"source/sub/file.txt"), "x");
    MakeFolder(Child(L"source/empty"));
    const TreeSnapshot before = SnapshotTree(Child(L"source"));

    const Status status = fileSystem->MoveFolder(Text(L"source"), Text(L"moved"));

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_FALSE(fs::exists(Child(L"source")));
    EXPECT_EQ(SnapshotTree(Child(L"moved")), before);
}

TEST_F(FileSystemMove, AnExistingDestinationIsNeverReplaced) {
    WriteFile(Child(L"source/file.txt"), "source");
    MakeFolder(Child(L"empty-destination"));
    WriteFile(Child(L"full-destination/file.txt"), "destination");

    for (const wchar_t* destination : {L"empty-destination", L"full-destination"}) {
        const Status status = fileSystem->MoveFolder(Text(L"source"), Text(destination));
        EXPECT_TRUE(IsDescribedFailure(status, Text(destination)));
    }
    EXPECT_EQ(SnapshotTree(Child(L"source")), (TreeSnapshot{{L"file.txt", "source"}}));
    EXPECT_TRUE(fs::is_empty(Child(L"empty-destination")));
}

TEST_F(FileSystemMove, AMissingSourceFailsNamingIt) {
    const Status status = fileSystem->MoveFolder(Text(L"missing"), Text(L"moved"));

    EXPECT_TRUE(IsDescribedFailure(status, Text(L"missing")));
    EXPECT_FALSE(fs::exists(Child(L"moved")));
}

}  // namespace
}  // namespace vestro::file_system_tests
