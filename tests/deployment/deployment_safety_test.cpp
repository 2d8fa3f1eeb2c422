#include <gtest/gtest.h>

#include <filesystem>

#include "deployment/deployment_layout.h"
#include "deployment/staged_replacement.h"
#include "deployment/unreadable_file.h"
#include "support/linked_folder.h"

namespace vestro {
namespace {

using testing::DeploymentLayout;
using testing::MakeLinkedFolder;
using testing::SnapshotTree;
using testing::TreeSnapshot;
using testing::UnreadableFile;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(DeploymentSafety, ACopyThatFailsPartWayKeepsTheOldDataAndLeavesNoStaging) {
    DeploymentLayout layout;
    // Sorted after most of the tree, so the copy has already written files when it fails.
    WriteFile(layout.Data() / "zz-later" / "first.txt", "copied before the failure");
    const UnreadableFile unreadable(layout.Data() / "zz-later" / "zz-unreadable.bin");
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
    MakeLinkedFolder(layout.VestroData() / "linked", outside);
    auto fileSystem = CreateFileSystem().fileSystem;

    const Status status =
        ReplaceFolderWithCopy(*fileSystem, layout.SourceDir(), layout.TargetDir());

    ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(outside), outsideBefore);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

}  // namespace
}  // namespace vestro
