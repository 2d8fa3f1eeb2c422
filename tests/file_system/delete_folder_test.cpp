#include <filesystem>

#include "file_system/path_text.h"
#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

TEST_F(FileSystemDelete, RemovesTheWholeTreeAndNothingBeside) {
    WriteFile(Child(L"target/top.bin"), BinaryContent(5000));
    WriteFile(Child(L"target/a/b/c/deep.txt"), "deep");
    MakeFolder(Child(L"target/empty"));
    WriteFile(Child(L"target-sibling/keep.txt"), "keep");

    const Status status = fileSystem->DeleteFolder(Text(L"target"), true);

    EXPECT_FALSE(status.Failed()) << status.description;
    EXPECT_FALSE(fs::exists(Child(L"target")));
    EXPECT_TRUE(fs::exists(Child(L"target-sibling/keep.txt")));
}

TEST_F(FileSystemDelete, ForceRemovesReadOnlyFilesAndFolders) {
    WriteFile(Child(L"target/read-only.txt"), "x");
    WriteFile(Child(L"target/locked/inner.txt"), "x");
    WriteFile(Child(L"target/locked/nested/inner-read-only.txt"), "x");
    MakeReadOnly(Child(L"target/read-only.txt"));
    MakeReadOnly(Child(L"target/locked/nested/inner-read-only.txt"));
    MakeReadOnly(Child(L"target/locked/nested"));
    MakeReadOnly(Child(L"target/locked"));

    const Status status = fileSystem->DeleteFolder(Text(L"target"), true);

    EXPECT_FALSE(status.Failed()) << status.description;
    EXPECT_FALSE(fs::exists(Child(L"target")));
}

TEST_F(FileSystemDelete, WithoutForceAReadOnlyFileStopsIt) {
    WriteFile(Child(L"target/read-only.txt"), "x");
    MakeReadOnly(Child(L"target/read-only.txt"));

    const Status status = fileSystem->DeleteFolder(Text(L"target"), false);

    EXPECT_TRUE(IsDescribedFailure(status, JoinPath(Text(L"target"), L"read-only.txt")));
    EXPECT_TRUE(fs::exists(Child(L"target/read-only.txt")));
}

TEST_F(FileSystemDelete, AMissingFolderFailsNamingItAsGiven) {
    const std::wstring missing = root.Child(L"missing").generic_wstring();

    const Status status = fileSystem->DeleteFolder(missing, true);

    EXPECT_TRUE(IsDescribedFailure(status, missing));
}

TEST_F(FileSystemDelete, AFileIsNotAFolderToDelete) {
    WriteFile(Child(L"file.txt"), "x");

    const Status status = fileSystem->DeleteFolder(Text(L"file.txt"), true);

    EXPECT_TRUE(IsDescribedFailure(status, Text(L"file.txt")));
    EXPECT_TRUE(fs::exists(Child(L"file.txt")));
}

}  // namespace
}  // namespace vestro::file_system_tests
