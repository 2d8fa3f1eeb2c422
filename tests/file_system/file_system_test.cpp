#include "file_system/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>

#include "file_system/path_text.h"
#include "support/folder_link.h"
#include "support/temporary_folder.h"
#ifdef _WIN32
#include <windows.h>

#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "win32_platform.h"
#endif

namespace vestro::testing {
namespace {

namespace fs = std::filesystem;

// The platform's file system, used as the program uses it, on a fresh temporary folder.
class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The held files here are held for good, and the first failure must come at once.
        FileSystemCreation creation =
            CreateFileSystemWithHoldWait(HoldWait{.bound = std::chrono::milliseconds(0)});
        ASSERT_FALSE(creation.status.Failed()) << creation.status.description;
        fileSystem = std::move(creation.value);
    }
    std::wstring Text(std::wstring_view relative) const { return root.Text(relative); }
    fs::path Child(std::wstring_view relative) const { return root.Child(relative); }
    void Link(std::wstring_view link, std::wstring_view target) {
        ASSERT_EQ(links.Make(Child(link), Child(target)), "");
    }

    TemporaryFolder root;
    // Declared after root: links go, as links, before the folder that holds them.
    FolderLinks links;
    std::unique_ptr<FileSystem> fileSystem;
};

// A failure whose sentence names the operation, the path as the caller wrote it, and a reason.
::testing::AssertionResult NamesPath(const Status& status, const std::wstring& path) {
    const std::wstring& text = status.description;
    const std::size_t reason = text.find(L"\": ", text.find(L"\"" + path + L"\""));
    if (status.Failed() && text.starts_with(L"Could not ") && reason != std::wstring::npos &&
        text.size() > reason + 6 && text.find(L"\\\\?\\") == std::wstring::npos &&
        text.back() != L'\n') {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "\"" << text << "\" does not name " << path;
}

TEST_F(FileSystemTest, ExistenceAnswersOnlyForTheRightKindOfItem) {
    WriteFile(Child(L"folder/file.txt"), "x");
    const std::wstring file = Text(L"folder/file.txt");
    std::vector<std::tuple<std::wstring, bool, bool>> rows{
        {file, true, false},
        {Child(L"folder/file.txt").generic_wstring(), true, false},
        {Text(L"folder"), false, true},
        {JoinPath(Text(L"folder"), L""), false, true},
        {Text(L"folder/missing.txt"), false, false},
        {L"", false, false},
        {L" " + file, false, false},
        {file + std::wstring(1, L'\0') + L"more", false, false}};
#ifdef _WIN32
    // Read as Windows reads the text: trailing spaces and dots of the last name dropped, a
    // separator after a file name finding nothing; the path check asks with the text as typed.
    const std::wstring folder = Text(L"folder");
    rows.insert(rows.end(), {{folder + L"\\file.txt  ", true, false},
                             {folder + L"\\file.txt. .", true, false},
                             {folder + L"\\FILE.TXT", true, false},
                             {folder + L"\\.\\missing\\..\\file.txt", true, false},
                             {folder + L"\\file.txt\\", false, false},
                             {folder + L" \\file.txt", false, false},
                             {folder + L". ", false, true}});
#endif
    for (const auto& [path, aFile, aFolder] : rows) {
        const Result<bool> isFile = fileSystem->FileExists(path),
                           isFolder = fileSystem->FolderExists(path);
        EXPECT_EQ(std::pair(aFile, aFolder), std::pair(isFile.value, isFolder.value)) << path;
        EXPECT_FALSE(isFile.status.Failed() || isFolder.status.Failed()) << path;
    }
}

TEST_F(FileSystemTest, CopyIsExactAndItsReadOnlyItemsCanBeDeleted) {
    WriteFile(Child(L"source/top.txt"), "top");
    // Every byte value, in an order no block-sized copy reproduces by accident.
    std::string binary(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t index = 0; index < binary.size(); ++index) {
        binary[index] = static_cast<char>((index * 7 + index / 256) % 256);
    }
    WriteFile(Child(L"source/binary.bin"), binary);
    WriteFile(Child(L"source/empty.bin"), "");
    WriteFile(Child(L"source/a/b/c/deep.txt"), "deep");
    WriteFile(Child(L"source/Données/資料/résumé.txt"), "é");
    WriteFile(Child(L"source/read-only.txt"), "locked");
    MakeFolder(Child(L"source/empty"));
    MakeReadOnly(Child(L"source/read-only.txt"));
    // More files than the workers' queue holds.
    for (int file = 0; file < 300; ++file) {
        WriteFile(Child(L"source/d" + std::to_wstring(file % 4) + L"/f" + std::to_wstring(file)),
                  std::string(file * 37 % 5000, static_cast<char>('a' + file % 26)));
    }
    const TreeSnapshot source = SnapshotTree(Child(L"source"));
    std::vector<std::uint64_t> progress;
    std::mutex progressLock;
    std::atomic<int> inside{0}, overlaps{0};

    // Each call lasts long enough for the workers' calls to meet, were they not one at a time.
    const Status copied =
        fileSystem->CopyFolder(Text(L"source"), Text(L"数据 copy"), true, [&](auto bytes) {
            overlaps += inside.fetch_add(1) != 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::lock_guard lock(progressLock);
            progress.push_back(bytes);
            inside.fetch_sub(1);
        });
    ASSERT_FALSE(copied.Failed()) << copied.description;
    EXPECT_EQ(source, SnapshotTree(Child(L"数据 copy")));
    EXPECT_EQ(overlaps, 0);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    ASSERT_EQ(progress.size(), 306u);
    EXPECT_EQ(progress.back(), 3145760u + 694450u);  // the named files, the 300
    const Result<TreeSize> measured = fileSystem->MeasureFolder(Text(L"source"));
    EXPECT_EQ(std::pair(measured.value.files, measured.value.bytes),
              std::pair(std::uint64_t{306}, progress.back()));
    EXPECT_EQ(fs::status(Child(L"数据 copy/read-only.txt")).permissions() & fs::perms::owner_write,
              fs::perms::none);

    // Paths past 300 characters, where Wine's own final-path call gives up.
    for (std::wstring deep = L"数据 copy"; deep.size() < 400;) {
        deep += L"/" + std::wstring(60, static_cast<wchar_t>(L'a' + deep.size() % 26));
        WriteFile(Child(deep + L"/file.txt"), "x");
    }
    const Status deleted = fileSystem->DeleteFolder(Text(L"数据 copy"), true);
    EXPECT_FALSE(deleted.Failed()) << deleted.description;
    EXPECT_FALSE(fs::exists(Child(L"数据 copy")));
    EXPECT_EQ(source, SnapshotTree(Child(L"source")));
}

// Overwriting replaces an older, longer file whole, never the source through a hard link.
TEST_F(FileSystemTest, OverwriteReplacesWholeFilesButNeverEmptiesTheSource) {
    WriteFile(Child(L"source/kept.txt"), "source data");
    WriteFile(Child(L"copy/kept.txt"), "older and much longer data");
    fs::permissions(Child(L"copy/kept.txt"), fs::perms::owner_read | fs::perms::owner_write);
    const TreeSnapshot source = SnapshotTree(Child(L"source"));
    const Status replaced = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    EXPECT_FALSE(replaced.Failed()) << replaced.description;
    EXPECT_EQ(source, SnapshotTree(Child(L"copy")));
    EXPECT_EQ(fs::status(Child(L"copy/kept.txt")).permissions(),
              fs::status(Child(L"source/kept.txt")).permissions());

    fs::remove(Child(L"copy/kept.txt"));
    fs::create_hard_link(Child(L"source/kept.txt"), Child(L"copy/kept.txt"));
    const Status linked = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    EXPECT_EQ(source, SnapshotTree(Child(L"source"))) << linked.description;
}

TEST_F(FileSystemTest, DeleteNeverReachesThroughALink) {
    WriteFile(Child(L"outside/sub/keep.txt"), "keep");
    WriteFile(Child(L"target/file.txt"), "x");
    ASSERT_NO_FATAL_FAILURE(Link(L"target/link", L"outside"));
    ASSERT_NO_FATAL_FAILURE(Link(L"target/file link.txt", L"outside/sub/keep.txt"));

    const Status status = fileSystem->DeleteFolder(Text(L"target"), true);

    EXPECT_EQ((TreeSnapshot{{L"sub", "<folder>"}, {JoinPath(L"sub", L"keep.txt"), "keep"}}),
              SnapshotTree(Child(L"outside")));
    // Wine would remove what a Unix link points to, so the link is refused instead.
    EXPECT_EQ(status.Failed(), RunningUnderWine()) << status.description;
    EXPECT_EQ(fs::exists(fs::symlink_status(Child(L"target"))), RunningUnderWine());
}

TEST_F(FileSystemTest, CopyTakesLinkedFoldersInsideAsFoldersAndStopsAtALoop) {
    WriteFile(Child(L"source/sub/file.txt"), "x");
    ASSERT_NO_FATAL_FAILURE(Link(L"source/linked", L"source/sub"));

    const Status copied = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    ASSERT_FALSE(copied.Failed()) << copied.description;
    EXPECT_EQ((TreeSnapshot{{L"sub", "<folder>"},
                            {JoinPath(L"sub", L"file.txt"), "x"},
                            {L"linked", "<folder>"},
                            {JoinPath(L"linked", L"file.txt"), "x"}}),
              SnapshotTree(Child(L"copy")));  // a link would show no file inside

    ASSERT_NO_FATAL_FAILURE(Link(L"source/sub/back", L"source"));
    const Status looped = fileSystem->CopyFolder(Text(L"source"), Text(L"loop"), true);
    EXPECT_TRUE(NamesPath(looped, JoinPath(JoinPath(Text(L"source"), L"sub"), L"back")) ||
                NamesPath(looped, JoinPath(JoinPath(Text(L"source"), L"linked"), L"back")));

    // Measuring, before any copy, refuses a link that leads out of the tree, naming both ends; a
    // link that stays inside is measured as a link.
    const Result<TreeSize> inward = fileSystem->MeasureFolder(Text(L"source"));
    EXPECT_EQ(inward.value.files, 1u) << inward.status.description;
    WriteFile(Child(L"outside/keep.txt"), "keep");
    ASSERT_NO_FATAL_FAILURE(Link(L"source/out", L"outside"));
    const std::wstring outward = fileSystem->MeasureFolder(Text(L"source")).status.description;
    EXPECT_NE(outward.find(L"\"" + JoinPath(Text(L"source"), L"out") + L"\" is a link to \""),
              outward.npos);
    EXPECT_NE(outward.find(L"outside\", which lies outside it."), outward.npos) << outward;
}

// Nothing that lies outside the tree is read: not through a link there when the copy starts, nor
// through one that took an item's place after its folder was listed (here while the first file
// is copied, by a single worker).
TEST_F(FileSystemTest, CopyReadsNothingThatLiesOutsideTheTree) {
    WriteFile(Child(L"outside/keep.txt"), "secret");
    const auto replace = [&](const std::wstring& item, const std::wstring& target) {
        fs::rename(Child(item), Child(item + L" moved"));
        ASSERT_NO_FATAL_FAILURE(Link(item, target));
    };
    const auto copyWhile = [&](const std::wstring& tree, const auto& swap) {
        WriteFile(Child(tree + L"/a.txt"), "a");
        WriteFile(Child(tree + L"/b.txt"), "bb");
        WriteFile(Child(tree + L"/sub/file.txt"), "x");
        bool swapped = false;
        const Status status = CreateFileSystemWithTreeWorkers({1, 1}).value->CopyFolder(
            Text(tree), Text(tree + L" copy"), false, [&](std::uint64_t bytes) {
                if (!std::exchange(swapped, true)) {
                    swap(tree + (bytes == 1 ? L"/b.txt" : L"/a.txt"));
                }
            });
        EXPECT_TRUE(status.Failed()) << tree;
        const TreeSnapshot copied = SnapshotTree(Child(tree + L" copy"));
        EXPECT_TRUE(std::none_of(copied.begin(), copied.end(), [](const auto& item) {
            return item.second == "secret";
        })) << tree;
        return status.description;
    };
    copyWhile(L"folder", [&](const std::wstring&) { replace(L"folder/sub", L"outside"); });
    copyWhile(L"file", [&](const std::wstring& next) { replace(next, L"outside/keep.txt"); });
    MakeFolder(Child(L"linked"));
    ASSERT_NO_FATAL_FAILURE(Link(L"linked/out", L"outside"));
    // Named as measuring names it: the link, and where it leads.
    const std::wstring named = copyWhile(L"linked", [](const std::wstring&) {});
    EXPECT_NE(named.find(L"outside\", which lies outside it."), named.npos) << named;
}

TEST_F(FileSystemTest, MoveNeverReplacesAnExistingFolder) {
    WriteFile(Child(L"source/sub/file.txt"), "source");
    MakeFolder(Child(L"empty"));
    WriteFile(Child(L"full/file.txt"), "kept");
    const TreeSnapshot before = SnapshotTree(root.Path());
    for (const wchar_t* existing : {L"empty", L"full"}) {
        EXPECT_TRUE(
            NamesPath(fileSystem->MoveFolder(Text(L"source"), Text(existing)), Text(existing)));
    }
    EXPECT_EQ(before, SnapshotTree(root.Path()));
}

TEST_F(FileSystemTest, FailuresNameThePathAsGiven) {
    WriteFile(Child(L"source/fine.txt"), "x");
    WriteFile(Child(L"file.txt"), "x");
    const std::wstring missing = Child(L"missing").generic_wstring();
    for (const auto& [named, run] : std::vector<std::pair<std::wstring, std::function<Status()>>>{
             {missing, [&] { return fileSystem->CopyFolder(missing, Text(L"copy"), true); }},
             {missing, [&] { return fileSystem->DeleteFolder(missing, true); }},
             {Text(L"file.txt"), [&] { return fileSystem->DeleteFolder(Text(L"file.txt"), true); }},
             {Text(L"file.txt"),
              [&] { return fileSystem->CopyFolder(Text(L"file.txt"), Text(L"copy"), true); }},
             {missing, [&] { return fileSystem->MoveFolder(missing, Text(L"moved")); }}}) {
        EXPECT_TRUE(NamesPath(run(), named));
    }
    EXPECT_TRUE(fs::exists(Child(L"file.txt")) && !fs::exists(Child(L"copy")));
    EXPECT_EQ(fileSystem->CopyFolder(missing, Text(L"copy"), true).error,
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(
        fileSystem->MeasureFolder(Text(L"file.txt")).status.description,
        L"Could not read the folder \"" + Text(L"file.txt") + L"\": it is a file, not a folder.");
}

bool Names(const Status& status, const std::wstring& text) {
    return status.Failed() && status.description.find(text) != std::wstring::npos;
}

// Items that cannot go stay with the folders above them; everything else goes. A read-only file
// left so is refused at once, not waited for as if another program held it.
TEST_F(FileSystemTest, DeleteRemovesWhatItCanAndReportsTheFirstFailure) {
    std::atomic<long long> slept{0};
    fileSystem = CreateFileSystemWithHoldWait(
                     {std::chrono::milliseconds(10'000),
                      [&] { return HoldWait::Clock::time_point(std::chrono::milliseconds(slept)); },
                      [&](std::chrono::milliseconds pause) { slept += pause.count(); }})
                     .value;
    for (int file = 0; file < 60; ++file) {
        WriteFile(Child(L"old/x" + std::to_wstring(file % 3) + L"/f" + std::to_wstring(file)), "x");
    }
    WriteFile(Child(L"old/x1/stuck"), "read-only, and no force");
    MakeReadOnly(Child(L"old/x1/stuck"));
    const Status status = fileSystem->DeleteFolder(Text(L"old"), false);
    EXPECT_TRUE(Names(status, Text(L"old/x1/stuck"))) << status.description;
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(Child(L"old")), {}), 2);
    EXPECT_EQ(slept, 0);
}

TEST_F(FileSystemTest, CopyNeverEntersItsOwnDestination) {
    WriteFile(Child(L"Data/Common/readme.txt"), "data");
    const std::wstring destination = Text(L"Data/Common/VestroData.new");

    const Status status = fileSystem->CopyFolder(Text(L"Data"), destination, false);

    EXPECT_TRUE(Names(status, L"destination \"" + destination + L"\"")) << status.description;
    EXPECT_FALSE(fs::exists(Child(L"Data/Common/VestroData.new/Common/VestroData.new")));
}

TEST_F(FileSystemTest, CopyRefusesNamesThatDifferOnlyInCaseBeforeCopyingThatFolder) {
#ifdef _WIN32
    // Wine opens the first name for the second: tests/support/wine_test.sh makes them in Unix.
    const wchar_t* made = _wgetenv(L"VESTRO_CASE_DUPLICATES");
    if (made == nullptr && !RunningUnderWine()) {
        GTEST_SKIP() << "no folder with names that differ only in case (VESTRO_CASE_DUPLICATES)";
    }
    ASSERT_NE(nullptr, made) << "VESTRO_CASE_DUPLICATES is not set: run through wine_test.sh";
    const std::wstring data = made, docs = data + L"\\docs\\";
#else
    WriteFile(Child(L"Data/docs/Résumé.txt"), "one");
    WriteFile(Child(L"Data/docs/RÉSUMÉ.TXT"), "two");
    WriteFile(Child(L"Data/docs/other.txt"), "three");
    const std::wstring data = Text(L"Data"), docs = data + L"/docs/";
#endif

    const Status status = fileSystem->CopyFolder(data, Text(L"Copy"), false);

    EXPECT_TRUE(Names(status, docs + L"Résumé.txt") && Names(status, docs + L"RÉSUMÉ.TXT"))
        << status.description;
    EXPECT_FALSE(fs::exists(Child(L"Copy/docs/other.txt")));
}

// The failure met first (root files go before subfolders') is reported; little is copied after.
TEST_F(FileSystemTest, TheFirstFailureStopsTheCopyAndIsTheOneReported) {
    for (int file = 0; file < 400; ++file) {
        WriteFile(Child(L"Data/later/f" + std::to_wstring(file)), "x");
    }
    const auto unreadable = MakeUnreadableFile(Child(L"Data/unreadable"));
    const auto later = MakeUnreadableFile(Child(L"Data/later/unreadable"));

    const Status status = fileSystem->CopyFolder(Text(L"Data"), Text(L"Copy"), false);

    EXPECT_TRUE(NamesPath(status, JoinPath(Text(L"Data"), L"unreadable")));
    EXPECT_LT(SnapshotTree(Child(L"Copy")).size(), 200u);
}

// Whatever stands under a lock's name and is not a lock of a copy that has ended is left exactly
// as it was: a second name of a file elsewhere, a file without the mark, a folder, links.
TEST_F(FileSystemTest, ALockIsTakenOnlyOverALockFileOfACopyThatHasEnded) {
    WriteFile(Child(L"outside.txt"), "USER DATA LINE 1");
    fs::create_hard_link(Child(L"outside.txt"), Child(L"hard.lock"));
    WriteFile(Child(L"unmarked.lock"), "VestroFile, and more: not a lock");
    WriteFile(Child(L"empty.lock"), "");
    WriteFile(Child(L"marked.txt"), "VestroFile");
    ASSERT_NO_FATAL_FAILURE(Link(L"marked-link.lock", L"marked.txt"));
    MakeFolder(Child(L"folder.lock"));
    MakeFolder(Child(L"gone"));
    ASSERT_NO_FATAL_FAILURE(Link(L"link.lock", L"folder.lock"));
    ASSERT_NO_FATAL_FAILURE(Link(L"nowhere.lock", L"gone"));
    fs::remove(Child(L"gone"));
    const TreeSnapshot before = SnapshotTree(root.Path());
    for (const wchar_t* name : {L"hard.lock", L"unmarked.lock", L"empty.lock", L"marked-link.lock",
                                L"folder.lock", L"link.lock", L"nowhere.lock"}) {
        const LockAcquisition taken = fileSystem->LockExclusively(Text(name));
        EXPECT_TRUE(taken.nameTaken && !taken.value && !taken.heldElsewhere) << name;
    }
    EXPECT_EQ(before, SnapshotTree(root.Path()));
    const LockAcquisition noFolder = fileSystem->LockExclusively(Text(L"missing/x.lock"));
    EXPECT_TRUE(!noFolder.nameTaken && Names(noFolder.status, L"Could not lock the file \""));
    WriteFile(Child(L"ended.lock"), "VestroFile");
    {
        const LockAcquisition ended = fileSystem->LockExclusively(Text(L"ended.lock"));
        ASSERT_TRUE(ended.value) << ended.status.description;
        EXPECT_TRUE(fileSystem->LockExclusively(Text(L"ended.lock")).heldElsewhere);
    }
    EXPECT_FALSE(fs::exists(Child(L"ended.lock")));
}

#ifdef _WIN32
// A library the exe does not import is there while it is needed, and gone with its owner: the
// Restart Manager's, whose session answers for files in the long form (Wine's knows no holder).
TEST(SystemLibraryTest, IsLoadedFromTheSystemAndFreedWithItsOwner) {
    {
        const std::unique_ptr<RestartManager> system = CreateSystemRestartManager();
        ASSERT_TRUE(system->StartSession());
        EXPECT_TRUE(system->RegisterFiles({L"\\\\?\\C:\\a.txt"}) && system->ListHolders());
        system->EndSession();
    }
    EXPECT_EQ(nullptr, GetModuleHandleW(L"rstrtmgr.dll"));
}

// A lock file that a program such as a virus scanner merely holds open is no copy's lock.
TEST_F(FileSystemTest, ALockFileHeldByAnotherProgramIsNoCopysLock) {
    const std::wstring file = Text(L"held.lock");
    WriteFile(Child(L"held.lock"), "");
    const HANDLE scanner = CreateFileW(Child(L"held.lock").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    const LockAcquisition held = fileSystem->LockExclusively(file);
    CloseHandle(scanner);
    EXPECT_FALSE(held.heldElsewhere);
    EXPECT_TRUE(NamesPath(held.status, file));
}

// The paths the per-file opens hand the system, caught in this program's import table: Wine
// takes paths of any length, so only their text shows the long form.
extern "C" decltype(&CreateFileW) __imp_CreateFileW;

// Puts a function into an import slot; gives back what the slot held.
template <typename Function>
Function SwapImport(Function& slot, Function replacement) {
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &protection);
    const Function held = std::exchange(slot, replacement);
    VirtualProtect(&slot, sizeof(slot), protection, &protection);
    return held;
}

std::mutex handedLock;
std::vector<std::wstring> handed;
decltype(&CreateFileW) systemCreateFileW = nullptr;

TEST_F(FileSystemTest, EachFileCallIsHandedTheLongForm) {
    WriteFile(Child(L"source/sub/file.txt"), "x");
    systemCreateFileW = SwapImport<decltype(&CreateFileW)>(
        __imp_CreateFileW,
        [](LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD how,
           DWORD flags, HANDLE model) -> HANDLE {
            std::lock_guard lock(handedLock);
            handed.push_back(path);
            return systemCreateFileW(path, access, share, security, how, flags, model);
        });
    const Status copied = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    const Status deleted = fileSystem->DeleteFolder(Text(L"copy"), true);
    SwapImport(__imp_CreateFileW, systemCreateFileW);
    EXPECT_FALSE(copied.Failed() || deleted.Failed());
    const std::wstring root = L"\\\\?\\" + this->root.Path().wstring();
    // Copied from and to, then opened to be deleted.
    EXPECT_EQ(std::ranges::count(handed, root + L"\\source\\sub\\file.txt"), 1);
    EXPECT_EQ(std::ranges::count(handed, root + L"\\copy\\sub\\file.txt"), 2);
    EXPECT_TRUE(std::ranges::all_of(handed, [](const std::wstring& path) {
        return path.starts_with(L"\\\\?\\");
    })) << ::testing::PrintToString(handed);
}

// The form itself (reserved characters are the existence table's); a code without text is told.
TEST(ExtendedPathTest, PathsGetTheLongFormOrAReason) {
    EXPECT_EQ(Win32ErrorText(0x2000FFFF), L"Error 536936447.");
    EXPECT_NE(Win32ErrorText(ERROR_ACCESS_DENIED), L"Error 5.");  // the system's own words
    const std::wstring current = fs::current_path().wstring();
    for (const auto& [text, extended] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"C:\\", L"\\\\?\\C:\\"},
             {L"\\\\server\\share\\Common", L"\\\\?\\UNC\\server\\share\\Common"},
             {L"Data\\file.txt", L"\\\\?\\" + current + L"\\Data\\file.txt"},
             {L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{1}\\"}}) {  // no plainer name
        EXPECT_EQ(extended, ToExtendedPath(text).text) << text;
        EXPECT_EQ(ToPlainPath(extended), text.starts_with(L"Data") ? extended.substr(4) : text);
    }
    for (const wchar_t* text : {L"", L" C:\\Data", L"C:\\a\"b", L"C:\\a:b", L"1:\\Data"}) {
        EXPECT_NE(0u, ToExtendedPath(text).error) << text;
    }
    EXPECT_EQ(CreateFileSystem().value->FreeSpace(L"C:\\").value.volume, L"C:\\");  // its own
}

// Only a name surrogate (a symbolic link, a junction) is a link; other reparse points are data.
TEST(ItemKindTest, OnlyANameSurrogateIsALink) {
    constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT;
    constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY | kReparse;
    EXPECT_EQ(KindOf(kReparse, IO_REPARSE_TAG_SYMLINK), ItemKind::OtherLink);
    EXPECT_EQ(KindOf(kReparse, IO_REPARSE_TAG_DEDUP), ItemKind::File);
    EXPECT_EQ(KindOf(kFolder, IO_REPARSE_TAG_MOUNT_POINT), ItemKind::FolderLink);
    EXPECT_EQ(KindOf(kFolder, IO_REPARSE_TAG_CLOUD_6), ItemKind::Folder);
    EXPECT_EQ(ReparseTagOfEntry(kReparse, IO_REPARSE_TAG_SYMLINK), IO_REPARSE_TAG_SYMLINK);
    EXPECT_EQ(ReparseTagOfEntry(FILE_ATTRIBUTE_NORMAL, 28), 0u);  // its extended attributes' size
    EXPECT_TRUE(StillAsListed(FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(StillAsListed(FILE_ATTRIBUTE_ARCHIVE, kReparse));  // made one since the listing
}
#endif

}  // namespace
}  // namespace vestro::testing
