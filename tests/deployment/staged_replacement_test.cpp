#include "deployment/staged_replacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>

#include "deployment/deployment_layout.h"
#include "support/instrumented_file_system.h"

namespace vestro {
namespace {

using testing::DeploymentLayout;
using testing::InstrumentedFileSystem;
using testing::MakeReadOnly;
using testing::SnapshotTree;
using testing::TreeOrMissing;
using testing::TreeSnapshot;
using testing::WriteFile;
namespace fs = std::filesystem;

const std::unique_ptr<FileSystem> realFileSystem = CreateFileSystem().fileSystem;

Status Replace(FileSystem& fileSystem, const DeploymentLayout& layout,
               const ReplacementProgress& progress = {}) {
    return ReplaceFolderWithCopy(fileSystem, layout.SourceDir(), layout.TargetDir(), progress);
}

TEST(StagedReplacement, TheTargetHoldsExactlyTheSourceAndProgressEndsAtItsSize) {
    DeploymentLayout layout;
    MakeReadOnly(layout.VestroData() / "old-only.txt");
    MakeReadOnly(layout.Data() / "shared.txt");
    const TreeSnapshot data = SnapshotTree(layout.Data());
    std::uint64_t total = 0;
    for (const auto& [name, content] : data) {
        total += content == "<folder>" ? 0 : content.size();
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> seen;

    const Status status =
        Replace(*realFileSystem, layout, [&](std::uint64_t done, std::uint64_t of) {
            EXPECT_TRUE(seen.empty() || seen.back().first <= done);
            EXPECT_EQ(of, total);
            seen.emplace_back(done, of);
        });

    ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), data);
    EXPECT_EQ(SnapshotTree(layout.Data()), data);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
    ASSERT_GT(seen.size(), 1u);
    EXPECT_EQ(seen.back(), std::pair(total, total));
}

// Where a replacement may start: the old data in place, beside the leftovers of an interrupted
// run, set aside by one, or no data at all.
struct Start {
    const char* name;
    std::function<void(const DeploymentLayout&)> prepare;
};
const Start kStarts[] = {
    {"old data", [](const DeploymentLayout&) {}},
    {"leftovers",
     [](const DeploymentLayout& layout) {
         WriteFile(fs::path(StagingFolderFor(layout.TargetDir())) / "half.txt", "partial");
         WriteFile(layout.Backup() / "older.txt", "set aside long ago");
         MakeReadOnly(layout.Backup() / "older.txt");
     }},
    {"set aside",
     [](const DeploymentLayout& layout) { fs::rename(layout.VestroData(), layout.Backup()); }},
    {"no data", [](const DeploymentLayout& layout) { fs::remove_all(layout.VestroData()); }},
};

// Fails call failAt (and with twice, the one after it too) and checks what the replacement left.
void CheckFaultAt(const Start& start, int failAt, bool twice) {
    DeploymentLayout layout;
    start.prepare(layout);
    const bool setAsideAtStart = !fs::exists(layout.VestroData());
    const auto oldTree =
        setAsideAtStart ? TreeOrMissing(layout.Backup()) : TreeOrMissing(layout.VestroData());
    const TreeSnapshot newTree = SnapshotTree(layout.Data());
    InstrumentedFileSystem second(*realFileSystem, twice ? std::optional(failAt) : std::nullopt);
    InstrumentedFileSystem first(second, failAt);

    const Status status = Replace(first, layout);

    if (!status.Failed()) {
        EXPECT_EQ(TreeOrMissing(layout.VestroData()), newTree);
    } else if (fs::exists(layout.VestroData()) || !oldTree) {
        EXPECT_EQ(TreeOrMissing(layout.VestroData()), oldTree);
    } else {
        EXPECT_EQ(TreeOrMissing(layout.Backup()), oldTree);
    }
    // When not even putting the old folder back worked, the description says where it is.
    if (status.Failed() && !setAsideAtStart && !fs::exists(layout.VestroData())) {
        const std::wstring given = BackupFolderFor(layout.TargetDir());
        const std::wstring resolved = realFileSystem->ResolvePath(given).path;
        EXPECT_TRUE(status.description.find(resolved) != std::wstring::npos ||
                    status.description.find(given) != std::wstring::npos)
            << ::testing::PrintToString(status.description);
    }
    // A leftover or old folder that cannot be removed never fails a copy.
    if (!twice && first.calls()[failAt - 1].starts_with(L"DeleteFolder")) {
        EXPECT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    }
    // Whatever stayed behind goes with the next run.
    ASSERT_FALSE(Replace(*realFileSystem, layout).Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), newTree);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
}

TEST(StagedReplacement, AFailureAtAnyStepLeavesTheOldOrTheNewTreeWhole) {
    std::size_t points = 0;
    for (const Start& start : kStarts) {
        DeploymentLayout layout;
        start.prepare(layout);
        InstrumentedFileSystem counting(*realFileSystem);
        ASSERT_FALSE(Replace(counting, layout).Failed()) << start.name;
        points += counting.calls().size();
        for (int failAt = 1; failAt <= static_cast<int>(counting.calls().size()); ++failAt) {
            for (const bool twice : {false, true}) {
                SCOPED_TRACE(std::string(start.name) + ", failing call " + std::to_string(failAt) +
                             (twice ? " and the next" : ""));
                CheckFaultAt(start, failAt, twice);
            }
        }
    }
    // Read by the end-to-end suite's reliability report.
    std::cout << "fault-injection points: " << points << std::endl;
}

}  // namespace
}  // namespace vestro
