#include "main_window/main_window_behaviour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <optional>
#include <set>

#include "client_location/install_detection.h"
#include "deployment/deployment_layout.h"
#include "support/instrumented_file_system.h"
#include "support/listed_file_system.h"
#include "support/recording_window.h"
#include "support/scripted_file_dialog.h"

namespace vestro {
namespace {

using namespace testing;
using Calls = std::vector<std::wstring>;

const std::wstring kCandidate1(kInstallCandidates[0]);
const std::wstring kCandidate2(kInstallCandidates[1]);
const std::wstring kCopying = L"Copying Files.  Please Wait...";
const std::wstring kCopyFailed = L"An error has occurred while trying to copy files.  Error: ";

// The behaviour on a recording window. Each service object it asks for is the real file system
// or one with only the listed files, failing its call number failAt; each one's calls are kept.
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
        std::unique_ptr<FileSystem> inner =
            listed ? std::make_unique<ListedFileSystem>(*listed) : CreateFileSystem().fileSystem;
        auto logged = std::make_unique<InstrumentedFileSystem>(std::move(inner), failAt);
        logs.push_back(logged->Log());
        return {std::move(logged), {}};
    }
    // Lets the worker's posts arrive, as the window's message loop does.
    std::vector<unsigned> DeliverPosts() {
        std::optional<std::vector<unsigned>> progress = window.TakePostsOnceFinished();
        EXPECT_TRUE(progress) << "the copy's end was never posted";
        behaviour.OnCopyFinished();
        return progress.value_or(std::vector<unsigned>{});
    }

    std::optional<std::set<std::wstring>> listed;
    std::optional<int> failAt;
    bool creationFails = false;
    std::vector<std::shared_ptr<const std::vector<std::wstring>>> logs;
    RecordingWindow window;
    ScriptedFileDialog dialog;
    MainWindowBehaviour behaviour;
};

TEST(MainWindow, LoadProbesInOrderFillsInTheFindOrReportsAndEmptiesTheBox) {
    const std::wstring loadFailed =
        L"An error has occurred while trying to find the VORIN install directory.  Error: ";
    struct Case {
        std::set<std::wstring> installed;
        std::optional<int> failAt;
        bool creationFails;
        std::wstring box, status, message;
        Calls probes;
    };
    // clang-format off
    const Case cases[] = {
        {{kCandidate1, kCandidate2}, {}, false, kCandidate1, L"", L"", {L"FileExists " + kCandidate1}},
        {{kCandidate2}, {}, false, kCandidate2, L"", L"", {L"FileExists " + kCandidate1, L"FileExists " + kCandidate2}},
        {{}, {}, false, L"", L"", L"", {L"FileExists " + kCandidate1, L"FileExists " + kCandidate2}},
        {{kCandidate2}, 1, false, L"", L"", loadFailed + L"Injected failure.", {L"FileExists " + kCandidate1}},
        {{}, {}, true, L"", L"lblStatus", loadFailed + L"Class not registered.", {}},
    };
    // clang-format on
    for (const Case& each : cases) {
        Harness harness(L"C:\\Program");
        harness.listed = each.installed;
        harness.failAt = each.failAt;
        harness.creationFails = each.creationFails;
        harness.window.sourcePathText = L"C:\\earlier\\Tarno.exe";
        harness.behaviour.OnLoad();
        harness.failAt.reset();

        const RecordingWindow& window = harness.window;
        EXPECT_EQ(window.sourcePathText, each.box);
        EXPECT_EQ(window.okEnabled, !each.box.empty());
        EXPECT_EQ(window.statusText, each.status);
        ASSERT_EQ(window.messages.size(), each.message.empty() ? 0u : 1u);
        if (!each.message.empty()) {
            EXPECT_EQ(window.messages[0].text, each.message);
            EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(harness.logs.empty() ? Calls{} : *harness.logs.front(), each.probes);
    }
}

TEST(MainWindow, PathCheckEnablesOKOnlyForAnExistingFileAskedWithTheSpacesKept) {
    TemporaryFolder folder;
    WriteFile(folder.Child(L"any name.dat"), "x");
    WriteFile(folder.Child(L"Tarno.exe"), "");
    const std::wstring padded = L"  " + folder.Text(L"Tarno.exe") + L" ";
    struct Case {
        std::wstring text;
        bool creationFails, okEnabled;
        Calls asked;  // of the fresh service object the check makes
    };
    // clang-format off
    const Case cases[] = {
        {folder.Text(L"any name.dat"), false, true, {L"FileExists " + folder.Text(L"any name.dat")}},
        {folder.Text(L"missing.exe"), false, false, {L"FileExists " + folder.Text(L"missing.exe")}},
        {folder.Text(), false, false, {L"FileExists " + folder.Text()}},
        {padded, false, false, {L"FileExists " + padded}},
        {L"   ", false, false, {}},
        {folder.Text(L"Tarno.exe"), true, false, {}},
    };
    // clang-format on
    for (const Case& each : cases) {
        Harness harness(folder.Text());
        harness.window.okEnabled = true;
        harness.creationFails = each.creationFails;
        harness.window.SetSourcePathText(each.text);
        EXPECT_EQ(harness.window.okEnabled, each.okEnabled) << ::testing::PrintToString(each.text);
        EXPECT_EQ(harness.logs.empty() ? Calls{} : *harness.logs.back(), each.asked);
        EXPECT_TRUE(harness.window.messages.empty());
    }
}

TEST(MainWindow, OKReportsEachOutcomeAndCopiesOnlyWhenItMay) {
    struct Case {
        std::wstring box;  // relative to the layout, "" for the path of client/Tarno.exe
        bool removeCommon, removeData, noProgramFolder, noFileSystem;
        Calls calls;
        std::wstring messageStart;
        bool closed;
    };
    const Calls refused = {L"message", L"OK on", L"Cancel on"};
    const Calls succeeded = {L"OK off", L"Cancel off", kCopying, L"message"};
    const Calls failed = {L"OK off", L"Cancel off", kCopying, L"message", L"OK on", L"Cancel on"};
    // clang-format off
    const Case cases[] = {
        {L"Tarno.exe", false, false, false, false, refused, kCopyFailed + L"The path \"Tarno.exe\"", false},
        {L"", true, false, false, false, refused, L"", false},
        {L"", false, false, true, false, refused, kCopyFailed + L"The folder that holds VestroFile.exe could not be found.", false},
        {L"", false, false, false, true, refused, kCopyFailed + L"The file-system services are not available.", false},
        {L"", false, true, false, false, failed, kCopyFailed, false},
        {L"", false, false, false, false, succeeded, L"Files have been successfully copied.", true},
    };
    // clang-format on
    for (const Case& each : cases) {
        DeploymentLayout layout;
        const TreeSnapshot data = SnapshotTree(layout.Data());
        std::filesystem::remove_all(each.removeCommon ? layout.Common() : "");
        std::filesystem::remove_all(each.removeData ? layout.Data() : "");
        const TreeSnapshot before = SnapshotTree(layout.root.Path());
        Harness harness(each.noProgramFolder ? L"" : layout.ProgramFolder());
        harness.creationFails = each.noFileSystem;
        harness.behaviour.OnLoad();
        harness.window.SetSourcePathText(each.box.empty() ? L" " + layout.ExePath() + L" "
                                                          : each.box);
        harness.window.statusText = L"before";
        harness.window.calls.clear();
        harness.window.messages.clear();

        harness.behaviour.OnOKClick();
        const bool copyRan = harness.window.statusText == kCopying;
        const std::vector<unsigned> progress =
            copyRan ? harness.DeliverPosts() : std::vector<unsigned>{};

        const RecordingWindow& window = harness.window;
        EXPECT_EQ(window.calls, each.calls);
        ASSERT_EQ(window.messages.size(), 1u);
        const std::wstring expected =
            each.removeCommon ? layout.root.Text(L"client/Common") +
                                    L" not found.  Files have not been successfully copied."
                              : each.messageStart;
        EXPECT_EQ(window.messages[0].text.substr(0, expected.size()), expected);
        EXPECT_EQ(window.messages[0].icon,
                  each.closed ? MessageIcon::Information : MessageIcon::Exclamation);
        EXPECT_EQ(window.closed, each.closed);
        // Browse and the path box are usable again unless the window closes.
        EXPECT_EQ(window.browseEnabled, !each.closed);
        EXPECT_EQ(window.pathReadOnly, each.closed);
        EXPECT_FALSE(window.copyShownInProgress);
        if (each.closed) {
            EXPECT_EQ(SnapshotTree(layout.VestroData()), data);
            EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
            EXPECT_EQ(progress.empty() ? 0u : progress.back(), 1000u);
        } else {
            EXPECT_EQ(SnapshotTree(layout.root.Path()), before) << "nothing on disk is touched";
        }
    }
}

// The copy held at a gate: the window goes on handling events, and the outcome posted afterwards
// brings it back.
TEST(MainWindow, EventsDuringTheCopyAreRefusedAndItsPostsUpdateTheWindow) {
    DeploymentLayout layout;
    std::promise<void> gate;
    int deployments = 0;
    Harness harness(layout.ProgramFolder(), [&](FileSystem&, const DeploymentPaths& paths,
                                                const ReplacementProgress& progress) {
        ++deployments;
        for (std::uint64_t copied : {0, 0, 1, 100, 101, 101, 400}) {
            progress(copied, 400);
        }
        gate.get_future().wait();
        return Status::Failure(std::make_error_code(std::errc::io_error),
                               paths.targetDir + L" is locked.");
    });
    harness.behaviour.OnLoad();
    harness.window.SetSourcePathText(layout.ExePath());
    harness.behaviour.OnOKClick();

    const RecordingWindow& window = harness.window;
    EXPECT_FALSE(window.okEnabled || window.cancelEnabled || window.browseEnabled);
    EXPECT_TRUE(window.pathReadOnly && window.copyShownInProgress);
    EXPECT_FALSE(harness.behaviour.OnCloseRequest());
    harness.behaviour.OnOKClick();
    gate.set_value();

    EXPECT_EQ(harness.DeliverPosts(), (std::vector<unsigned>{0, 2, 250, 252, 1000}));
    EXPECT_EQ(deployments, 1);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, kCopyFailed + layout.TargetDir() + L" is locked.");
    EXPECT_TRUE(window.okEnabled && window.cancelEnabled && window.browseEnabled);
    EXPECT_FALSE(window.pathReadOnly || window.copyShownInProgress || window.closed);
    EXPECT_EQ(window.statusText, kCopying);
    EXPECT_TRUE(harness.behaviour.OnCloseRequest());
}

}  // namespace
}  // namespace vestro
