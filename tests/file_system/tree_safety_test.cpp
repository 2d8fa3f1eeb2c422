#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include "file_system/file_system.h"
#include "support/file_that_cannot_be_read.h"
#include "support/folder_link.h"
#include "support/temporary_folder.h"

namespace vestro::testing {
namespace {

namespace fs = std::filesystem;

// Four workers: a queue of 64 jobs, less than the trees below.
class TreeSafety : public ::testing::Test {
  protected:
    std::unique_ptr<FileSystem> fileSystem = CreateFileSystemWithTreeWorkers(4).fileSystem;
    TemporaryFolder root;
};

bool Names(const Status& status, const std::wstring& text) {
    return status.Failed() && status.description.find(text) != std::wstring::npos;
}

// Items that cannot go stay with the folders above them; everything else goes.
TEST_F(TreeSafety, DeleteRemovesWhatItCanAndReportsTheFirstFailure) {
    for (const std::wstring old : {L"read-only", L"unix-link"}) {
        const bool link = old == L"unix-link";  // only Wine has a link no Win32 call removes
        if (link && !RunningUnderWine()) {
            continue;
        }
        for (int file = 0; file < 60; ++file) {
            WriteFile(
                root.Child(old + L"/x" + std::to_wstring(file % 3) + L"/f" + std::to_wstring(file)),
                "x");
        }
        FolderLinks links;
        const fs::path stuck = root.Child(old + L"/x1/stuck");
        if (link) {
            ASSERT_EQ(links.Make(stuck, MakeFolder(root.Child(L"outside"))), "");
        } else {
            WriteFile(stuck, "read-only, and no force");
            MakeReadOnly(stuck);
        }
        const Status status = fileSystem->DeleteFolder(root.Text(old), link);
        EXPECT_TRUE(Names(status, root.Text(old + L"/x1/stuck"))) << status.description;
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(root.Child(old)), {}), 2);
    }
}

TEST_F(TreeSafety, CopyNeverEntersItsOwnDestination) {
    WriteFile(root.Child(L"Data/Common/readme.txt"), "data");
    const std::wstring destination = root.Text(L"Data/Common/VestroData.new");

    const Status status = fileSystem->CopyFolder(root.Text(L"Data"), destination, false);

    EXPECT_TRUE(Names(status, L"destination \"" + destination + L"\"")) << status.description;
    EXPECT_FALSE(fs::exists(root.Child(L"Data/Common/VestroData.new/Common/VestroData.new")));
}

#ifndef _WIN32
TEST_F(TreeSafety, CopyRefusesNamesThatDifferOnlyInCaseBeforeCopyingThatFolder) {
    WriteFile(root.Child(L"Data/docs/Readme.txt"), "one");
    WriteFile(root.Child(L"Data/docs/README.TXT"), "two");
    WriteFile(root.Child(L"Data/docs/other.txt"), "three");

    const Status status = fileSystem->CopyFolder(root.Text(L"Data"), root.Text(L"Copy"), false);

    EXPECT_TRUE(Names(status, root.Text(L"Data/docs/Readme.txt")) &&
                Names(status, root.Text(L"Data/docs/README.TXT")))
        << status.description;
    EXPECT_FALSE(fs::exists(root.Child(L"Copy/docs/other.txt")));
}
#endif

TEST_F(TreeSafety, ParallelCopyGivesTheExactTreeAndProgressNeverOverlapsNorDecreases) {
    for (int file = 0; file < 300; ++file) {
        WriteFile(root.Child(L"Data/d" + std::to_wstring(file % 4) + L"/f" + std::to_wstring(file)),
                  std::string(file * 37 % 5000, static_cast<char>('a' + file % 26)));
    }
    std::vector<std::uint64_t> calls;
    std::atomic<int> inside{0};
    int overlaps = 0;
    const Status status =
        fileSystem->CopyFolder(root.Text(L"Data"), root.Text(L"Copy"), false, [&](auto bytes) {
            overlaps += inside.fetch_add(1) != 0;
            calls.push_back(bytes);
            inside.fetch_sub(1);
        });

    ASSERT_FALSE(status.Failed()) << status.description;
    EXPECT_EQ(SnapshotTree(root.Child(L"Copy")), SnapshotTree(root.Child(L"Data")));
    EXPECT_TRUE(overlaps == 0 && std::is_sorted(calls.begin(), calls.end()));
    ASSERT_EQ(calls.size(), 300u);
    EXPECT_EQ(calls.back(), fileSystem->MeasureFolder(root.Text(L"Data")).bytes);
}

// Reported is the failure met first (root files go out before any subfolder's); the walk
// hands out at most a queue's worth after it.
TEST_F(TreeSafety, TheFirstFailureStopsTheCopyAndIsTheOneReported) {
    for (int file = 0; file < 400; ++file) {
        WriteFile(root.Child(L"Data/later/f" + std::to_wstring(file)), "x");
    }
    FileThatCannotBeRead unreadable(root.Child(L"Data/unreadable"));
    FileThatCannotBeRead later(root.Child(L"Data/later/unreadable"));

    const Status status = fileSystem->CopyFolder(root.Text(L"Data"), root.Text(L"Copy"), false);

    EXPECT_TRUE(Names(status, root.Text(L"Data/unreadable"))) << status.description;
    EXPECT_LT(SnapshotTree(root.Child(L"Copy")).size(), 200u);
}

}  // namespace
}  // namespace vestro::testing
