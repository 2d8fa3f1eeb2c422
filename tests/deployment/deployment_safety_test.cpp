#include <gtest/gtest.h>

#include <filesystem>

#include "deployment/deployment_layout.h"
#include "deployment/staged_replacement.h"
#include "support/file_that_cannot_be_read.h"
#include "support/folder_link.h"

namespace vestro {
namespace {

using testing::DeploymentLayout;
using testing::FileThatCannotBeRead;
using testing::FolderLinks;
using testing::RunningUnderWine;
using testing::SnapshotTree;
using testing::TreeSnapshot;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(DeploymentSafety, ACopyThatFailsPartWayKeepsTheOldDataAndLeavesNoStaging) {
    DeploymentLayout layout;
    // Sorted after most of the tree, so the copy has already written files when it fails.
    WriteFile(layout.Data() / "zz-later" / "first.txt", "copied before the failure");
    const FileThatCannotBeRead unreadable(layout.Data() / "zz-later" / "zz-unreadable.bin");
    const TreeSnapshot old = SnapshotTree(layout.VestroData());
    auto fileSystem = CreateFileSystem().fileSystem;

    const Status status =
        ReplaceFolderWithCopy(*fileSystem, layout.SourceDir(), layout.TargetDir());

    ASSERT_TRUE(status.Failed());
    EXPECT_NE(status.description.find(L"zz-unreadable.bin"), std::wstring::npos)
        << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

// Removing the old data must take a linked folder inside it away as a link, never empty the
// folder it points to.
TEST(DeploymentSafety, ALinkInTheOldDataIsRemovedWithoutTouchingWhatItPointsTo) {
    DeploymentLayout layout;
    const fs::path outside = layout.root.Child(L"outside");
    WriteFile(outside / "precious.txt", "must survive");
    WriteFile(outside / "inner" / "more.txt", "must survive too");
    const TreeSnapshot outsideBefore = SnapshotTree(outside);
    FolderLinks links;
    ASSERT_EQ(links.Make(layout.VestroData() / "linked", outside), "");
    auto fileSystem = CreateFileSystem().fileSystem;

    const Status status =
        ReplaceFolderWithCopy(*fileSystem, layout.SourceDir(), layout.TargetDir());

    ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(outside), outsideBefore);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    if (RunningUnderWine()) {
        // No Win32 call under Wine removes a Unix link without reaching through it, so the old
        // folder, holding just the link, stays for the next run; the new data is in place.
        const fs::path backup = BackupFolderFor(layout.TargetDir());
        links.Track(backup / "linked");
        EXPECT_EQ(layout.StrayEntriesInCommon(),
                  std::vector<std::wstring>{backup.filename().wstring()});
        return;
    }
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

}  // namespace
}  // namespace vestro
