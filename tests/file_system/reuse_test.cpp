#include <gtest/gtest.h>

#include "file_system/file_system.h"
#include "support/folder_link.h"
#include "support/temporary_folder.h"
#ifndef _WIN32
#include <unistd.h>
#endif

namespace vestro::testing {
namespace {

namespace fs = std::filesystem;

// Data, an earlier copy of it made by the file system (old), and a copy reusing old (new).
struct ReuseTest : ::testing::Test {
    void SetUp() override {
        fileSystem = CreateFileSystemWithHoldWait({.bound = {}}).value;  // a hold fails at once
        for (const wchar_t* name : {L"same.txt", L"changed.txt", L"damaged.txt", L"linked.txt",
                                    L"held.txt", L"read-only.txt", L"sub/deep.txt"}) {
            WriteFile(Data(name), "content of " + fs::path(name).string());
            fs::last_write_time(Data(name), kTime);
        }
        MakeReadOnly(Data(L"read-only.txt"));
        ASSERT_FALSE(fileSystem->CopyFolder(root.Text(L"Data"), old.Text(L"old"), true).Failed());
    }
    fs::path Data(std::wstring_view name) const {
        return root.Child(L"Data/" + std::wstring(name));
    }
    fs::path Old(std::wstring_view name) const { return old.Child(L"old/" + std::wstring(name)); }
    Status CopyReusing(std::uint64_t* progress = nullptr) {
        return fileSystem->CopyFolderReusing(root.Text(L"Data"), root.Text(L"new"),
                                             old.Text(L"old"), [progress](std::uint64_t bytes) {
                                                 *(progress != nullptr ? progress : &bytes) = bytes;
                                             });
    }
    // Whether the new name shows what is written to the old: one file under two names.
    bool Shared(std::wstring_view name) {
        WriteFile(Old(name), "written later");
        return SnapshotTree(root.Child(L"new"))[fs::path(name).make_preferred().wstring()] ==
               "written later";
    }

    // Whole seconds: every system keeps them exactly.
    static inline const fs::file_time_type kTime = std::chrono::floor<std::chrono::seconds>(
        fs::file_time_type::clock::now() - std::chrono::hours(72));
    TemporaryFolder root;
    TemporaryFolder old;  // on another volume in one test
    FolderLinks links;
    std::unique_ptr<FileSystem> fileSystem;
};

TEST_F(ReuseTest, OnlyUnchangedPlainFilesAreReusedAndCopiesKeepTheirTimes) {
    WriteFile(Old(L"changed.txt"), "other");
    WriteFile(Old(L"damaged.txt"), "CONTENT of damaged.txt");  // same size and time
    fs::last_write_time(Old(L"damaged.txt"), kTime);
    // A link in the old data with the right content and time, to a file outside it.
    WriteFile(old.Child(L"outside.txt"), "content of linked.txt");
    fs::last_write_time(old.Child(L"outside.txt"), kTime);
    fs::remove(Old(L"linked.txt"));
    ASSERT_EQ(links.Make(Old(L"linked.txt"), old.Child(L"outside.txt")), "");
    std::string large(256 * 1024 + 1, 'x');  // unlike past the first quarter MiB read
    WriteFile(Data(L"large.bin"), large);
    large.back() = 'y';
    WriteFile(Old(L"large.bin"), large);
    for (const fs::path& file : {Data(L"large.bin"), Old(L"large.bin")}) {
        fs::last_write_time(file, kTime);
    }
    std::uint64_t progress = 0;

    ASSERT_EQ(CopyReusing(&progress).description, L"");

    EXPECT_EQ(SnapshotTree(root.Child(L"new")), SnapshotTree(root.Child(L"Data")));
    EXPECT_EQ(progress, fileSystem->MeasureFolder(root.Text(L"Data")).value.bytes);
    EXPECT_EQ(fs::last_write_time(root.Child(L"new/changed.txt")), kTime);
    EXPECT_TRUE(Shared(L"same.txt"));
    EXPECT_TRUE(Shared(L"sub/deep.txt"));
    EXPECT_FALSE(Shared(L"changed.txt"));
    EXPECT_FALSE(Shared(L"damaged.txt"));
    WriteFile(old.Child(L"outside.txt"), "written later");
    EXPECT_EQ(SnapshotTree(root.Child(L"new"))[L"linked.txt"], "content of linked.txt");
}

TEST_F(ReuseTest, AReusedReadOnlyFileStaysReadOnlyWhenTheOldDataGoes) {
    ASSERT_EQ(CopyReusing().description, L"");
    ASSERT_EQ(fileSystem->DeleteFolder(old.Text(L"old"), true).description, L"");
    EXPECT_EQ(fs::status(root.Child(L"new/read-only.txt")).permissions() & fs::perms::owner_write,
              fs::perms::none);
}

TEST_F(ReuseTest, AHeldOrUnlinkableOldFileIsCopiedInstead) {
#ifndef _WIN32
    // A second name cannot be made across volumes.
    const fs::path otherVolume = "/dev/shm/vestro-reuse-" + std::to_string(getpid());
    fs::remove_all(otherVolume);
    fs::copy(old.Child(L"old"), otherVolume, fs::copy_options::recursive);
    fs::last_write_time(otherVolume / "same.txt", kTime);
    fs::remove_all(root.Child(L"new"));
    ASSERT_FALSE(
        fileSystem->CopyFolderReusing(root.Text(L"Data"), root.Text(L"new"), otherVolume.wstring())
            .Failed());
    WriteFile(otherVolume / "same.txt", "written later");
    EXPECT_EQ(SnapshotTree(root.Child(L"new"))[L"same.txt"], "content of same.txt");
    fs::remove_all(otherVolume);
#endif
    fs::remove(Old(L"held.txt"));
    // Held without sharing on Windows; natively a link that leads nowhere.
    const auto held = MakeUnreadableFile(Old(L"held.txt"));
    ASSERT_EQ(CopyReusing().description, L"");
    EXPECT_EQ(SnapshotTree(root.Child(L"new")), SnapshotTree(root.Child(L"Data")));
    // Old data behind a link is none: all of Data is measured (unit 0: bytes) and written.
    ASSERT_EQ(links.Make(root.Child(L"old-link"), old.Child(L"old")), "");
    const auto toWrite = [&](const wchar_t* previous) {
        return fileSystem->MeasureCopy(root.Text(L"Data"), root.Text(previous), 0)
            .value.bytesToWrite;
    };
    EXPECT_EQ(toWrite(L"old-link"), fileSystem->MeasureFolder(root.Text(L"Data")).value.bytes);
    EXPECT_EQ(toWrite(L"new"), 0u);
    ASSERT_EQ(fileSystem->DeleteFolder(root.Text(L"new"), true).description, L"");
    ASSERT_FALSE(
        fileSystem->CopyFolderReusing(root.Text(L"Data"), root.Text(L"new"), root.Text(L"old-link"))
            .Failed());
    EXPECT_FALSE(Shared(L"same.txt"));
}

}  // namespace
}  // namespace vestro::testing
