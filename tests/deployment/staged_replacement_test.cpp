#include "deployment/staged_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "deployment/deployment_layout.h"
#include "support/folder_link.h"
#include "support/instrumented_file_system.h"

namespace vestro {
namespace {

using namespace testing;
namespace fs = std::filesystem;
const std::unique_ptr<FileSystem> realFileSystem = CreateFileSystem().fileSystem;

Status Replace(const DeploymentLayout& layout, FileSystem& fileSystem = *realFileSystem,
               const ReplacementProgress& progress = {}) {
    return ReplaceFolderWithCopy(fileSystem, layout.SourceDir(), layout.TargetDir(), progress);
}

std::optional<TreeSnapshot> TreeOrMissing(const fs::path& folder) {
    return fs::is_directory(folder) ? std::optional(SnapshotTree(folder)) : std::nullopt;
}

// Where a replacement may start: the old data in place, beside the leftovers of an interrupted
// run, set aside by one, or no data at all.
const std::pair<const char*, std::function<void(const DeploymentLayout&)>> kStarts[] = {
    {"old data", [](const DeploymentLayout&) {}},
    {"leftovers",
     [](const DeploymentLayout& layout) {
         WriteFile(layout.Common() / "VestroData.vestrofile-new" / "half.txt", "partial");
         WriteFile(layout.Backup() / "older.txt", "set aside long ago");
         MakeReadOnly(layout.Backup() / "older.txt");
     }},
    {"set aside",
     [](const DeploymentLayout& layout) { fs::rename(layout.VestroData(), layout.Backup()); }},
    {"no data", [](const DeploymentLayout& layout) { fs::remove_all(layout.VestroData()); }},
};

// Fails call failAt (with twice, the one after it too) and checks what the replacement left.
void CheckFaultAt(const std::function<void(const DeploymentLayout&)>& prepare, int failAt,
                  bool twice) {
    DeploymentLayout layout;
    prepare(layout);
    const bool setAsideAtStart = !fs::exists(layout.VestroData());
    const bool strayAtStart = !layout.NothingStrayInCommon();
    const auto oldTree = TreeOrMissing(setAsideAtStart ? layout.Backup() : layout.VestroData());
    const TreeSnapshot newTree = SnapshotTree(layout.Data());
    InstrumentedFileSystem second(*realFileSystem, twice ? std::optional(failAt) : std::nullopt);
    InstrumentedFileSystem first(second, failAt);
    const Status status = Replace(layout, first);
    const bool oldInPlace = fs::exists(layout.VestroData()) || !oldTree;
    EXPECT_EQ(TreeOrMissing(oldInPlace ? layout.VestroData() : layout.Backup()),
              status.Failed() ? oldTree : newTree);
    if (status.Failed() && !oldInPlace && !setAsideAtStart) {
        // Not even putting the old folder back worked: the description says where it is.
        const std::wstring backup = layout.root.Text(L"client/Common/VestroData.vestrofile-old");
        EXPECT_NE(status.description.find(backup), std::wstring::npos)
            << ::testing::PrintToString(status.description);
    }
    // After one failure the rest goes right: the old folder is back and the staging one gone.
    if (!twice && status.Failed()) {
        EXPECT_TRUE(oldInPlace || setAsideAtStart);
        EXPECT_TRUE(strayAtStart || layout.NothingStrayInCommon());
    }
    // A leftover or old folder that cannot be removed never fails a copy.
    if (!twice && (*first.calls)[failAt - 1].starts_with(L"DeleteFolder")) {
        EXPECT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    }
    // Whatever stayed behind goes with the next run.
    ASSERT_FALSE(Replace(layout).Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), newTree);
    EXPECT_TRUE(layout.NothingStrayInCommon());
}

TEST(StagedReplacement, AFailureAtAnyStepLeavesTheOldOrTheNewTreeWhole) {
    for (const auto& [name, prepare] : kStarts) {
        DeploymentLayout layout;
        prepare(layout);
        InstrumentedFileSystem counting(*realFileSystem);
        ASSERT_FALSE(Replace(layout, counting).Failed()) << name;
        for (int failAt = 1; failAt <= static_cast<int>(counting.calls->size()); ++failAt) {
            for (const bool twice : {false, true}) {
                SCOPED_TRACE(std::string(name) + ", failing call " + std::to_string(failAt) +
                             (twice ? " and the next" : ""));
                CheckFaultAt(prepare, failAt, twice);
            }
        }
    }
}

TEST(StagedReplacement, ACopyIntoItselfInAnySpellingIsRefusedBeforeAnythingIsCreated) {
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

// The copy reports its progress up to the whole size; a second copy meanwhile is refused.
TEST(StagedReplacement, OneCopyRunsWholeAndASecondOneMeanwhileIsRefused) {
    DeploymentLayout layout;
    const TreeSnapshot data = SnapshotTree(layout.Data());
    const std::uint64_t total = 19;  // the layout's two files
    std::vector<std::uint64_t> seen;
    Status second;
    std::optional<TreeSnapshot> oldBefore, oldAfter;
    const Status first =
        Replace(layout, *realFileSystem, [&](std::uint64_t done, std::uint64_t of) {
            EXPECT_TRUE((seen.empty() || seen.back() <= done) && done <= of && of == total);
            seen.push_back(done);
            if (!oldBefore) {
                oldBefore = SnapshotTree(layout.VestroData());
                std::thread([&] { second = Replace(layout); }).join();
                oldAfter = SnapshotTree(layout.VestroData());
            }
        });
    ASSERT_FALSE(first.Failed()) << ::testing::PrintToString(first.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), data);
    EXPECT_TRUE(layout.NothingStrayInCommon());
    EXPECT_EQ(seen.back(), total);
    EXPECT_NE(second.description.find(L"Another copy into the folder \"" + layout.TargetDir()),
              std::wstring::npos);
    EXPECT_EQ(oldAfter, oldBefore);
}

TEST(StagedReplacement, AVestroDataThatIsALinkIsNeverReachedThrough) {
    DeploymentLayout layout;
    const fs::path outside = layout.root.Child(L"outside");
    WriteFile(outside / "inner" / "precious.txt", "must stay where it is");
    const TreeSnapshot outsideBefore = SnapshotTree(outside);
    fs::remove_all(layout.VestroData());
    FolderLinks links;
    ASSERT_EQ(links.Make(layout.VestroData(), outside), "");
    const Status status = Replace(layout);
    EXPECT_EQ(SnapshotTree(outside), outsideBefore);
    EXPECT_TRUE(layout.NothingStrayInCommon());
    // Wine renames and removes a Unix link only by reaching through it: refused there.
    EXPECT_EQ(status.Failed(), RunningUnderWine()) << ::testing::PrintToString(status.description);
    EXPECT_TRUE(RunningUnderWine() || !fs::is_symlink(layout.VestroData()));
    EXPECT_EQ(SnapshotTree(layout.VestroData()),
              RunningUnderWine() ? outsideBefore : SnapshotTree(layout.Data()));
}

}  // namespace
}  // namespace vestro
