#include "deployment/staged_replacement.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "deployment/deployment_layout.h"
#include "support/folder_link.h"
#include "support/instrumented_file_system.h"
#ifdef _WIN32
#include "file_system/win32_owned_handle.h"
#endif

namespace vestro {
namespace {

using namespace testing;
namespace fs = std::filesystem;
const std::unique_ptr<FileSystem> realFileSystem =
    CreateFileSystemWithHoldWait({.bound = {}}).value;  // no holds here: fail at once

Status Replace(const DeploymentLayout& layout, FileSystem& fileSystem = *realFileSystem,
               const ReplacementProgress& progress = {},
               const NewDataInPlace& newDataInPlace = {}) {
    return ReplaceFolderWithCopy(fileSystem, layout.SourceDir(), layout.TargetDir(), progress,
                                 newDataInPlace);
}

std::optional<TreeSnapshot> TreeOrMissing(const fs::path& folder) {
    return fs::is_directory(folder) ? std::optional(SnapshotTree(folder)) : std::nullopt;
}

// Where a replacement may start: the old data in place, beside the leftovers of an interrupted
// run, set aside by one, or no data at all.
const std::pair<const char*, std::function<void(const DeploymentLayout&)>> kStarts[] = {
    {"old data",
     [](const DeploymentLayout& layout) {
         // Copied read-only: what a failed copy leaves goes only when removed by force.
         MakeReadOnly(layout.Data() / "nested" / "one" / "two.bin");
     }},
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
    // Success is told with the new data in place, before the removal, which is then cut short.
    std::optional<TreeSnapshot> toldWith;
    const Status status = Replace(layout, first, {}, [&] {
        toldWith = SnapshotTree(layout.VestroData());
        EXPECT_TRUE(fs::exists(layout.Backup()) || !oldTree) << "told after the removal";
        std::error_code ignored;
        fs::remove(layout.Backup() / "old-only.txt", ignored);
    });
    EXPECT_EQ(toldWith, status.Failed() ? std::nullopt : std::optional(newTree));
    // An injected failure is no name taken by something unseen: no hint of one.
    EXPECT_EQ(status.description.find(L"does not show"), std::wstring::npos);
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
    // A leftover or old folder that cannot be removed, before the copy or after, never fails it.
    if (!twice && (*first.calls)[failAt - 1].starts_with(L"DeleteFolder")) {
        EXPECT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    }
    // Whatever stayed behind goes with the next run.
    ASSERT_FALSE(Replace(layout).Failed());
    EXPECT_EQ(SnapshotTree(layout.VestroData()), newTree);
    EXPECT_TRUE(layout.NothingStrayInCommon());
}

// From every start the copy reports its progress up to the whole size, and a second copy
// meanwhile is refused; then each of its calls fails in turn.
TEST(StagedReplacement, ACopyRunsAloneAndAFailureAtAnyStepLeavesTheOldOrTheNewTreeWhole) {
    const std::uint64_t total = 19;  // the layout's two files
    for (const auto& [name, prepare] : kStarts) {
        DeploymentLayout layout;
        prepare(layout);
        InstrumentedFileSystem counting(*realFileSystem);
        std::vector<std::uint64_t> seen;
        Status second;
        const Status first = Replace(layout, counting, [&](std::uint64_t done, std::uint64_t of) {
            EXPECT_TRUE((seen.empty() || seen.back() <= done) && done <= of && of == total);
            if (seen.empty()) {
                std::thread([&] { second = Replace(layout); }).join();
            }
            seen.push_back(done);
        });
        ASSERT_FALSE(first.Failed()) << name << ::testing::PrintToString(first.description);
        EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
        EXPECT_EQ(seen.back(), total);
        EXPECT_NE(second.description.find(L"Another copy into the folder \"" + layout.TargetDir()),
                  std::wstring::npos);
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

// A file, a link (one that leads nowhere too) or a folder that is not ours under one of our names
// stays as it is, and the next name of its kind is used, run after run; leftovers of ours under
// every name of every kind go.
TEST(StagedReplacement, OurNamesTakenBySomethingElseNeverBlockACopyAndOurLeftoversAllGo) {
    DeploymentLayout layout;
    const auto ours = [&](const std::wstring& kind) {
        return layout.Common() / (L"VestroData.vestrofile-" + kind);
    };
    const fs::path outside = layout.root.Child(L"outside.txt");
    WriteFile(outside, "private");
    WriteFile(ours(L"new"), "a file");
    WriteFile(ours(L"lock") / "inside.txt", "a folder");
    fs::create_hard_link(outside, ours(L"lock-2"));
    WriteFile(ours(L"old-mine") / "x", "the user's");
    for (int number = 3; number < kNamesOfAKind; ++number) {  // the last lock name is left
        WriteFile(ours(L"lock-" + std::to_wstring(number)), "not a lock");
    }
    const fs::path folder = layout.root.Child(L"folder"), gone = layout.root.Child(L"gone");
    WriteFile(folder / "kept.txt", "private");
    MakeFolder(gone);
    FolderLinks links;
    const std::pair<const wchar_t*, fs::path> linked[] = {
        {L"old", outside}, {L"stale-3", folder}, {L"new-2", gone}, {L"stale", gone}};
    for (const auto& [name, target] : linked) {
        ASSERT_EQ(links.Make(ours(name), target), "");
    }
    fs::remove(gone);
    // Everything but the old data must stay; under Wine a link that leads nowhere is not seen.
    const std::wstring data = fs::path(L"client/Common/VestroData/").make_preferred().wstring();
    const auto othersItems = [&] {
        TreeSnapshot tree = SnapshotTree(layout.root.Path());
        std::erase_if(tree, [&](const auto& item) { return item.first.starts_with(data); });
        return tree;
    };
    const TreeSnapshot others = othersItems();
    for (const wchar_t* leftover : {L"new-5", L"old-7", L"stale-2", L"stale-31"}) {
        WriteFile(ours(leftover) / "x", "ours");
    }
    for (int run = 1; run <= 2; ++run) {
        const Status status =
            Replace(layout, *realFileSystem, {}, [&] { EXPECT_TRUE(fs::exists(ours(L"old-2"))); });
        ASSERT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
        EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    }
    EXPECT_EQ(othersItems(), others);
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
    EXPECT_EQ(SnapshotTree(layout.VestroData()),
              RunningUnderWine() ? outsideBefore : SnapshotTree(layout.Data()));

    // One that leads nowhere is set aside as a link; Wine shows nothing there that it could move.
    DeploymentLayout nowhere;
    fs::remove_all(nowhere.VestroData());
    ASSERT_EQ(links.Make(nowhere.VestroData(), outside / "inner"), "");
    fs::rename(outside / "inner", outside / "moved");
    const Status toNowhere = Replace(nowhere);
    EXPECT_EQ(toNowhere.description.find(L"leads nowhere") != std::wstring::npos,
              RunningUnderWine());
    EXPECT_EQ(TreeOrMissing(nowhere.VestroData()),
              RunningUnderWine() ? std::nullopt : std::optional(SnapshotTree(nowhere.Data())));
}

#ifdef _WIN32
OwnedHandle Hold(const fs::path& item, DWORD sharing) {
    return OwnedHandle(CreateFileW(item.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Held as a virus scanner or the client holds them: without delete sharing. Waited for on the
// test's clock, once per step however many they are; what stays held of the old data and of
// leftovers is left to a later run, and a held Data file or VestroData changes nothing.
TEST(StagedReplacement, HeldItemsAreWaitedForOncePerStepAndALastingHoldChangesNothing) {
    std::atomic<long long> slept{0};
    HoldWait testClock{
        std::chrono::milliseconds(10'000),
        [&] { return HoldWait::Clock::time_point(std::chrono::milliseconds(slept)); },
        [&](std::chrono::milliseconds pause) { slept += pause.count(); }};
    const std::unique_ptr<FileSystem> fileSystem = CreateFileSystemWithHoldWait(testClock).value;
    DeploymentLayout layout;
    std::vector<OwnedHandle> held;
    const auto hold = [&](const fs::path& folder) {
        for (int file = 0; file < 4; ++file) {
            WriteFile(folder / ("held" + std::to_string(file)), "held");
            held.push_back(Hold(folder / ("held" + std::to_string(file)), FILE_SHARE_READ));
        }
    };
    hold(layout.Common() / "VestroData.vestrofile-new-2");
    hold(layout.Common() / "VestroData.vestrofile-stale-4");
    // Windows renames no folder with a file open inside: the old data is held once set aside.
    const Status status = Replace(layout, *fileSystem, {}, [&] { hold(layout.Backup()); });
    EXPECT_FALSE(status.Failed()) << ::testing::PrintToString(status.description);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    // The tidying and the removal, each its whole bound and a last pause's worth of other threads.
    EXPECT_GE(slept, 2 * 10'000);
    EXPECT_LE(slept, 2 * 10'000 + 32 * 250);
    held.clear();
    EXPECT_FALSE(Replace(layout).Failed());
    EXPECT_TRUE(layout.NothingStrayInCommon());

    const LockAcquisition lock = fileSystem->LockExclusively(LockFileFor(layout.TargetDir()));
    slept = 0;
    EXPECT_TRUE(fileSystem->LockExclusively(LockFileFor(layout.TargetDir())).heldElsewhere);
    EXPECT_EQ(0, slept) << "another copy's lock is the answer at once";
    for (const bool folder : {false, true}) {
        DeploymentLayout lasting;
        const TreeSnapshot old = SnapshotTree(lasting.VestroData());
        const OwnedHandle holder = folder ? Hold(lasting.VestroData(), FILE_SHARE_READ)
                                          : Hold(lasting.Data() / "nested" / "one" / "two.bin", 0);
        slept = 0;
        EXPECT_TRUE(Replace(lasting, *fileSystem).Failed());
        EXPECT_GE(slept, 10'000);
        EXPECT_EQ(SnapshotTree(lasting.VestroData()), old);
        EXPECT_TRUE(lasting.NothingStrayInCommon());
    }
}
#endif

}  // namespace
}  // namespace vestro
