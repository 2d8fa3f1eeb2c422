#include "main_window/main_window_behaviour.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <tuple>

#include "deployment/deployment_layout.h"
#include "support/instrumented_file_system.h"
#include "support/recording_window.h"
#include "support/scripted_file_dialog.h"

namespace vestro {
namespace {

using namespace testing;
using Texts = std::vector<std::wstring>;
// Written out: the probes' paths are what a user's installation has.
const std::wstring kCandidate1 = L"C:\\Program Files\\Tarno\\Tarno.exe";
const std::wstring kCandidate2 = L"C:\\Program Files (x86)\\Tarno\\Tarno.exe";
const std::wstring kCopying = L"Copying Files.  Please Wait...";
const std::wstring kCopyFailed = L"(48) An error has occurred while trying to copy files.  Error: ";

// The behaviour on a recording window. Its file system: the real one, or one that has only the
// listed files; the first one made logs its calls and fails its call number failAt.
struct Harness {
    explicit Harness(std::wstring programFolder, Deployment deploy = DeployData)
        : behaviour(
              window, [this] { return Create(); }, std::move(programFolder), dialog,
              std::move(deploy)) {
        window.onSourcePathChanged = [this] { behaviour.CheckSourcePath(); };
    }
    FileSystemCreation Create() {
        if (creationFails) {
            return {nullptr, Status::Failure(std::make_error_code(std::errc::not_supported),
                                             L"Class not registered.")};
        }
        auto logged = std::make_unique<InstrumentedFileSystem>(*real, failAt, listed);
        failAt.reset();
        firstLog = firstLog ? firstLog : logged->calls;
        return {std::move(logged), {}};
    }
    // What the worker posted, delivered as the window's message loop does.
    std::vector<unsigned> DeliverPosts() {
        const std::optional<std::vector<unsigned>> progress = window.TakePostsOnceFinished();
        EXPECT_TRUE(progress) << "the copy's end was never posted";
        behaviour.OnCopyFinished();
        return progress.value_or(std::vector<unsigned>{});
    }

    const std::unique_ptr<FileSystem> real = CreateFileSystemWithHoldWait({.bound = {}}).value;
    std::optional<std::set<std::wstring>> listed;
    std::optional<int> failAt;
    bool creationFails = false;
    std::shared_ptr<const Texts> firstLog;
    RecordingWindow window;
    ScriptedFileDialog dialog;
    MainWindowBehaviour behaviour;
};

TEST(MainWindow, LoadProbesInOrderFillsInTheFindOrReportsAndEmptiesTheBox) {
    const std::wstring failed =
        L"(48) An error has occurred while trying to find the VORIN install directory.  Error: ";
    const std::wstring probe1 = L"FileExists " + kCandidate1, probe2 = L"FileExists " + kCandidate2;
    // Installed files, the failing call, no file system; then box, status, message and probes.
    using Case = std::tuple<std::set<std::wstring>, std::optional<int>, bool, std::wstring,
                            std::wstring, std::wstring, Texts>;
    // clang-format off
    const Case cases[] = {
        {{kCandidate1, kCandidate2}, {}, false, kCandidate1, L"", L"", {probe1, probe1}},
        {{kCandidate2}, {}, false, kCandidate2, L"", L"", {probe1, probe2, probe2}},
        {{}, {}, false, L"", L"", L"", {probe1, probe2}},
        {{kCandidate2}, 1, false, L"", L"", failed + L"Injected failure.", {probe1}},
        {{}, {}, true, L"", L"lblStatus", failed + L"Class not registered.", {}},
    };
    // clang-format on
    for (const auto& [installed, failAt, creationFails, box, status, message, probes] : cases) {
        Harness harness(L"C:\\Program");
        harness.listed = installed;
        harness.failAt = failAt;
        harness.creationFails = creationFails;
        harness.window.sourcePathText = L"C:\\earlier\\Tarno.exe";  // a failure must empty it
        harness.behaviour.OnLoad();
        const RecordingWindow& window = harness.window;
        EXPECT_EQ(window.sourcePathText, box);
        EXPECT_EQ(window.okEnabled, !box.empty());
        EXPECT_EQ(window.statusText, status);
        EXPECT_EQ(window.shown, message.empty() ? Texts{} : Texts{message});
        EXPECT_EQ(harness.firstLog ? *harness.firstLog : Texts{}, probes);
    }
}

TEST(MainWindow, PathCheckEnablesOKOnlyForAnExistingFileAskedWithTheSpacesKept) {
    TemporaryFolder folder;
    WriteFile(folder.Child(L"any name.dat"), "x");
    const std::wstring file = folder.Text(L"any name.dat");
    const std::pair<std::wstring, bool> cases[] = {{file, true},
                                                   {folder.Text(L"missing.exe"), false},
                                                   {L"  " + file + L" ", false},
                                                   {L" \"" + file + L"\"  ", true}};
    for (const auto& [text, okEnabled] : cases) {
        for (const bool creationFails : {false, true}) {
            Harness harness(folder.Text());
            harness.creationFails = creationFails;
            harness.behaviour.OnLoad();  // the check asks the file system made here, if any
            harness.window.SetSourcePathText(text);
            EXPECT_EQ(harness.window.okEnabled, okEnabled && !creationFails) << text.c_str();
            EXPECT_EQ(harness.window.shown.size(), creationFails ? 1u : 0u);
        }
    }
}

TEST(MainWindow, OKReportsEachOutcomeAndCopiesOnlyWhenItMay) {
    enum Setup { Ready, NoFolderPart, NoCommon, NoProgramFolder, NoFileSystem, NoData };
    const std::pair<Setup, std::wstring> cases[] = {
        {NoFolderPart, kCopyFailed + L"The path \"Tarno.exe\""},
        {NoCommon, L" not found.  Files have not been successfully copied."},
        {NoProgramFolder,
         kCopyFailed + L"The folder that holds VestroFile.exe could not be found."},
        {NoFileSystem, kCopyFailed + L"The file-system services are not available."},
        {NoData, kCopyFailed},
        {Ready, L"(64) Files have been successfully copied."},
    };
    for (const auto& [setup, message] : cases) {
        DeploymentLayout layout;
        const TreeSnapshot data = SnapshotTree(layout.Data());
        std::filesystem::remove_all(setup == NoCommon ? layout.Common() : "");
        std::filesystem::remove_all(setup == NoData ? layout.Data() : "");
        const TreeSnapshot before = SnapshotTree(layout.root.Path());
        Harness harness(setup == NoProgramFolder ? L"" : layout.root.Text(L"program"));
        harness.creationFails = setup == NoFileSystem;
        harness.behaviour.OnLoad();
        harness.window.SetSourcePathText(setup == NoFolderPart ? L"Tarno.exe"
                                                               : L" " + layout.ExePath() + L" ");
        const std::wstring status = harness.window.statusText;
        harness.window.shown.clear();
        harness.behaviour.OnOKClick();
        const bool refused = !harness.window.everBusy;
        if (!refused) {
            harness.DeliverPosts();
        }
        const RecordingWindow& window = harness.window;
        const bool success = setup == Ready;
        EXPECT_EQ(refused, setup != NoData && !success);
        EXPECT_EQ(window.statusText, refused ? status : kCopying);
        const std::wstring expected =
            setup == NoCommon ? L"(48) " + layout.root.Text(L"client/Common") + message : message;
        ASSERT_EQ(window.shown.size(), success ? 2u : 1u);
        EXPECT_EQ(window.shown[0].substr(0, expected.size()), expected);
        EXPECT_EQ(window.shown.back() == L"closed", success);
        EXPECT_TRUE(success || (window.okEnabled && window.cancelEnabled));
        EXPECT_TRUE(window.browseEnabled && !window.pathReadOnly && !window.busy);
        EXPECT_EQ(SnapshotTree(success ? layout.VestroData() : layout.root.Path()),
                  success ? data : before);
    }
}

// The copy held at a gate: the window goes on handling events; success, posted once the new data
// is in place, closes it while the old data is still being removed, and the end waits for that.
TEST(MainWindow, EventsDuringTheCopyAreRefusedAndSuccessIsToldBeforeTheOldDataIsRemoved) {
    DeploymentLayout layout;
    std::promise<void> gate, removal;
    std::atomic<int> started = 0, ended = 0;
    Harness harness(
        layout.root.Text(L"program"), [&](auto&, auto&, auto& progress, auto& newDataInPlace) {
            ++started;
            for (std::uint64_t copied : {0, 0, 1, 100, 101, 101, 400}) {
                progress(copied, 400);
            }
            gate.get_future().wait_for(std::chrono::minutes(1));  // bounded, should it run inline
            newDataInPlace();
            removal.get_future().wait_for(std::chrono::minutes(1));
            ++ended;
            return Status::Success();
        });
    harness.behaviour.OnLoad();
    harness.window.SetSourcePathText(layout.ExePath());
    harness.behaviour.OnOKClick();
    const RecordingWindow& window = harness.window;
    EXPECT_FALSE(window.okEnabled || window.cancelEnabled || window.browseEnabled);
    EXPECT_TRUE(window.pathReadOnly && window.busy);
    EXPECT_FALSE(harness.behaviour.OnCloseRequest());
    harness.behaviour.OnOKClick();
    gate.set_value();
    EXPECT_EQ(harness.DeliverPosts(), (std::vector<unsigned>{0, 2, 250, 252, 1000}));
    EXPECT_EQ(started, 1);
    EXPECT_EQ(window.shown, (Texts{L"(64) Files have been successfully copied.", L"closed"}));
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(harness.behaviour.OnCloseRequest());
    EXPECT_EQ(ended, 0) << "the copy ran on the window's thread, or success waited for the removal";
    EXPECT_TRUE(harness.behaviour.CopyStillRuns());  // what the hidden window waits for
    removal.set_value();
    harness.behaviour.OnUnload();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(harness.behaviour.CopyStillRuns());
}

}  // namespace
}  // namespace vestro
