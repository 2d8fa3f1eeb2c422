#include "deployment/staged_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "deployment/deployment_layout.h"
#include "support/instrumented_file_system.h"

namespace vestro {
namespace {

using testing::DeploymentLayout;
using testing::InstrumentedFileSystem;
using testing::MakeFolder;
using testing::MakeReadOnly;
using testing::SnapshotTree;
using testing::TreeSnapshot;
using testing::WriteFile;
namespace fs = std::filesystem;

class StagedReplacement : public ::testing::Test {
  protected:
    std::unique_ptr<FileSystem> fileSystem = CreateFileSystem().fileSystem;
    DeploymentLayout layout;

    Status Replace(FileSystem& through) {
        return ReplaceFolderWithCopy(through, layout.SourceDir(), layout.TargetDir());
    }
    Status Replace() { return Replace(*fileSystem); }
};

TEST_F(StagedReplacement, TargetEndsUpHoldingExactlyTheSourceTree) {
    MakeReadOnly(layout.VestroData() / "old-only.txt");
    MakeReadOnly(layout.Data() / "shared.txt");
    const TreeSnapshot data = SnapshotTree(layout.Data());

    const Status status = Replace();

    ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), data);
    EXPECT_FALSE(fs::exists(layout.VestroData() / "old-only.txt"));
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
    EXPECT_EQ(SnapshotTree(layout.Data()), data) << "the source must not change";
    EXPECT_TRUE(fs::exists(layout.Common() / "Other" / "keep.txt"));
}

TEST_F(StagedReplacement, CreatesTheTargetWhenThereWasNone) {
    fs::remove_all(layout.VestroData());
    WriteFile(layout.Data() / "only.txt", "x");
    MakeFolder(layout.Data() / "an-empty-folder");

    ASSERT_FALSE(Replace().Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST_F(StagedReplacement, EmptySourceGivesAnEmptyTarget) {
    fs::remove_all(layout.Data());
    MakeFolder(layout.Data());

    ASSERT_FALSE(Replace().Failed());
    EXPECT_TRUE(fs::is_directory(layout.VestroData()));
    EXPECT_TRUE(fs::is_empty(layout.VestroData()));
}

TEST_F(StagedReplacement, MissingSourceFailsAndKeepsTheOldTarget) {
    fs::remove_all(layout.Data());
    const TreeSnapshot old = SnapshotTree(layout.VestroData());

    const Status status = Replace();

    ASSERT_TRUE(status.Failed());
    EXPECT_NE(status.description.find(layout.SourceDir()), std::wstring::npos)
        << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST_F(StagedReplacement, LeftoversOfAnInterruptedRunAreCleared) {
    WriteFile(fs::path(StagingFolderFor(layout.TargetDir())) / "half.txt", "partial copy");
    WriteFile(fs::path(BackupFolderFor(layout.TargetDir())) / "older.txt", "set aside earlier");
    MakeReadOnly(fs::path(StagingFolderFor(layout.TargetDir())) / "half.txt");

    ASSERT_FALSE(Replace().Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST_F(StagedReplacement, OldFolderSetAsideByAnInterruptedRunIsPutBackWhenTheNextCopyFails) {
    // The earlier run moved VestroData aside and stopped before moving the new copy in.
    const TreeSnapshot old = SnapshotTree(layout.VestroData());
    fs::rename(layout.VestroData(), BackupFolderFor(layout.TargetDir()));
    fs::remove_all(layout.Data());

    EXPECT_TRUE(Replace().Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST_F(StagedReplacement, RefusesWhenOneFolderLiesInsideTheOther) {
    const TreeSnapshot before = SnapshotTree(layout.root.Path());
    const std::wstring inside = layout.root.Text(L"program/Data/Common/VestroData");
    const std::wstring around = layout.root.Text(L"program");

    for (const auto& [source, target] :
         {std::pair{layout.SourceDir(), inside}, std::pair{layout.SourceDir(), around},
          std::pair{layout.SourceDir(), layout.SourceDir()}}) {
        const Status status = ReplaceFolderWithCopy(*fileSystem, source, target);
        EXPECT_TRUE(status.Failed()) << ::testing::PrintToString(target);
        EXPECT_NE(status.description.find(source), std::wstring::npos);
    }
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
}

// Every call the replacement makes may fail. Whichever does, the target holds all of the old
// data or all of the new, a reported failure means the old data, and nothing else stays behind
// for long: a backup that could not be removed after the swap goes with the next run.
TEST_F(StagedReplacement, AFailureAtAnyStepLeavesTheOldOrTheNewTreeWhole) {
    const TreeSnapshot oldTree = SnapshotTree(layout.VestroData());
    const TreeSnapshot newTree = SnapshotTree(layout.Data());
    const fs::path pristineTarget = layout.root.Child(L"pristine-target");
    fs::copy(layout.VestroData(), pristineTarget, fs::copy_options::recursive);

    InstrumentedFileSystem counting(*fileSystem);
    ASSERT_FALSE(Replace(counting).Failed());
    const int callCount = static_cast<int>(counting.calls().size());
    ASSERT_GE(callCount, 5);
    // Read by the end-to-end suite's reliability report.
    std::cout << "fault-injection points: " << callCount << std::endl;

    for (int failAt = 1; failAt <= callCount; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt));
        fs::remove_all(layout.VestroData());
        fs::copy(pristineTarget, layout.VestroData(), fs::copy_options::recursive);

        InstrumentedFileSystem failing(*fileSystem, failAt);
        const Status status = Replace(failing);
        ASSERT_TRUE(failing.injectedFailure);
        const TreeSnapshot after = SnapshotTree(layout.VestroData());
        if (status.Failed()) {
            EXPECT_EQ(after, oldTree);
            EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
            continue;
        }
        EXPECT_EQ(after, newTree);
        if (!layout.StrayEntriesInCommon().empty()) {
            EXPECT_EQ(layout.StrayEntriesInCommon(),
                      std::vector<std::wstring>{
                          fs::path(BackupFolderFor(layout.TargetDir())).filename().wstring()});
            ASSERT_FALSE(Replace().Failed());
            EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
            EXPECT_EQ(SnapshotTree(layout.VestroData()), newTree);
        }
    }
}

}  // namespace
}  // namespace vestro
