#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

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

const std::unique_ptr<FileSystem> realFileSystem = CreateFileSystem().fileSystem;

Status Replace(const DeploymentLayout& layout, const ReplacementProgress& progress = {}) {
    return ReplaceFolderWithCopy(*realFileSystem, layout.SourceDir(), layout.TargetDir(), progress);
}

TEST(DeploymentSafety, ACopyThatFailsPartWayKeepsTheOldDataAndLeavesNoStaging) {
    DeploymentLayout layout;
    // Sorted after most of the tree, so the copy has already written files when it fails.
    WriteFile(layout.Data() / "zz-later" / "first.txt", "copied before the failure");
    const FileThatCannotBeRead unreadable(layout.Data() / "zz-later" / "zz-unreadable.bin");
    const TreeSnapshot old = SnapshotTree(layout.VestroData());

    const Status status = Replace(layout);

    ASSERT_TRUE(status.Failed());
    EXPECT_NE(status.description.find(L"zz-unreadable.bin"), std::wstring::npos);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST(DeploymentSafety, ACopyIntoItselfInAnySpellingIsRefusedBeforeAnythingIsCreated) {
    DeploymentLayout layout;
    FolderLinks links;
    ASSERT_EQ(links.Make(layout.root.Child(L"client/DataLink"), layout.Data()), "");
    ASSERT_EQ(links.Make(layout.root.Child(L"client/LinkedData"), layout.Data() / "nested"), "");
    WriteFile(layout.VestroData() / "Data" / "x.txt", "the program started from the old data");
    WriteFile(layout.Backup() / "Data" / "x.txt", "or from a leftover");
    const std::wstring data = layout.SourceDir();
    const std::pair<std::wstring, std::wstring> cases[] = {
        {data, layout.root.Text(L"program/Data/Common/VestroData")},
        {data, layout.root.Text(L"client/../program/./Data/none/../Common/VestroData")},
        {data, L"program/Data/Common/VestroData"},  // relative to the current folder
        {data, layout.root.Text(L"client/DataLink/Common/VestroData")},
        {data, layout.root.Text(L"client/LinkedData")},  // a target that is a link into Data
        {data, data},
        {layout.root.Text(L"client/Common/VestroData/Data"), layout.TargetDir()},
        {layout.root.Text(L"client/Common/VestroData.vestrofile-old/Data"), layout.TargetDir()},
#ifdef _WIN32
        {data, layout.root.Text(L"PROGRAM/data/Common/VestroData")},
#endif
    };
    const TreeSnapshot before = SnapshotTree(layout.root.Path());
    const fs::path currentFolder = fs::current_path();
    fs::current_path(layout.root.Path());
    for (const auto& [source, target] : cases) {
        const Status status = ReplaceFolderWithCopy(*realFileSystem, source, target);
        EXPECT_TRUE(status.Failed()) << ::testing::PrintToString(target);
        EXPECT_NE(status.description.find(source), std::wstring::npos);
    }
    fs::current_path(currentFolder);
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
    // Text that merely starts like Data names another folder.
    EXPECT_FALSE(ReplaceFolderWithCopy(*realFileSystem, data, data + L"2").Failed());
}

TEST(DeploymentSafety, ASecondCopyIntoTheSameFolderIsRefusedWhileOneRuns) {
    DeploymentLayout layout;
    Status second;
    std::optional<TreeSnapshot> oldBefore, oldAfter;
    const Status first = Replace(layout, [&](std::uint64_t, std::uint64_t) {
        if (oldBefore) {
            return;
        }
        oldBefore = SnapshotTree(layout.VestroData());
        std::thread([&] { second = Replace(layout); }).join();
        oldAfter = SnapshotTree(layout.VestroData());
        EXPECT_TRUE(fs::exists(StagingFolderFor(layout.TargetDir())));
    });

    ASSERT_FALSE(first.Failed()) << ::testing::PrintToString(first.description);
    ASSERT_TRUE(second.Failed());
    EXPECT_NE(second.description.find(L"Another copy into the folder \"" + layout.TargetDir()),
              std::wstring::npos)
        << ::testing::PrintToString(second.description);
    EXPECT_EQ(oldAfter, oldBefore);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST(DeploymentSafety, AVestroDataThatIsALinkIsNeverReachedThrough) {
    DeploymentLayout layout;
    const fs::path outside = layout.root.Child(L"outside");
    WriteFile(outside / "inner" / "precious.txt", "must stay where it is");
    const TreeSnapshot outsideBefore = SnapshotTree(outside);
    fs::remove_all(layout.VestroData());
    FolderLinks links;
    ASSERT_EQ(links.Make(layout.VestroData(), outside), "");

    const Status status = Replace(layout);

    EXPECT_EQ(SnapshotTree(outside), outsideBefore);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
    if (RunningUnderWine()) {
        // Wine renames and removes a Unix link only by reaching through it: refused instead.
        EXPECT_TRUE(status.Failed());
        EXPECT_NE(status.description.find(layout.TargetDir()), std::wstring::npos);
        EXPECT_EQ(SnapshotTree(layout.VestroData()), outsideBefore);
        return;
    }
    ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_FALSE(fs::is_symlink(layout.VestroData()));
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
}

}  // namespace
}  // namespace vestro
