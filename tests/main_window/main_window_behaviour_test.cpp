#include "main_window/main_window_behaviour.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "client_location/install_detection.h"
#include "support/instrumented_file_system.h"
#include "support/listed_file_system.h"
#include "support/recording_window.h"
#include "support/scripted_file_dialog.h"
#include "support/temporary_folder.h"

namespace vestro {
namespace {

using testing::InstrumentedFileSystem;
using testing::ListedFileSystem;
using testing::RecordingWindow;
using testing::ScriptedFileDialog;
using testing::TemporaryFolder;
using testing::WriteFile;

const std::wstring kCandidate1(kInstallCandidates[0]);
const std::wstring kCandidate2(kInstallCandidates[1]);
const std::wstring kLoadFailed =
    L"An error has occurred while trying to find the VORIN install directory.  Error: ";

class MainWindow : public ::testing::Test {
  protected:
    MainWindow() {
        // As the Win32 window does: every change of the path box runs the check.
        window.onSourcePathChanged = [this] { behaviour.CheckSourcePath(); };
    }

    // Each service object the behaviour asks for: the real one, or one with only the listed
    // files, or one whose call number failAt fails. What each object was asked is kept.
    FileSystemCreation CreateServices() {
        if (creationFails) {
            return {nullptr, Status::Failure(std::make_error_code(std::errc::not_supported),
                                             L"Class not registered.")};
        }
        std::unique_ptr<FileSystem> inner = listedFiles
                                                ? std::make_unique<ListedFileSystem>(*listedFiles)
                                                : CreateFileSystem().fileSystem;
        auto instrumented = std::make_unique<InstrumentedFileSystem>(std::move(inner), failAt);
        created.push_back(instrumented->Log());
        return {std::move(instrumented), {}};
    }

    bool creationFails = false;
    std::optional<std::set<std::wstring>> listedFiles;
    std::optional<int> failAt;
    std::vector<std::shared_ptr<const std::vector<std::wstring>>> created;

    TemporaryFolder folder;
    RecordingWindow window;
    ScriptedFileDialog dialog;
    MainWindowBehaviour behaviour{window, [this] { return CreateServices(); }, folder.Text(),
                                  dialog};
};

// Load sequence

TEST_F(MainWindow, LoadFillsInTheFirstCandidateAndEnablesOK) {
    listedFiles = {kCandidate1, kCandidate2};
    behaviour.OnLoad();
    EXPECT_EQ(window.sourcePathText, kCandidate1);
    EXPECT_TRUE(window.okEnabled);
    EXPECT_EQ(window.statusText, L"");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(behaviour.HasFileSystem());
}

TEST_F(MainWindow, LoadFillsInTheSecondCandidateWhenOnlyItExists) {
    listedFiles = {kCandidate2};
    behaviour.OnLoad();
    EXPECT_EQ(window.sourcePathText, kCandidate2);
    EXPECT_TRUE(window.okEnabled);
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainWindow, LoadWithoutAClientLeavesTheBoxEmptyAndSaysNothing) {
    listedFiles = std::set<std::wstring>{};
    behaviour.OnLoad();
    EXPECT_EQ(window.sourcePathText, L"");
    EXPECT_FALSE(window.okEnabled);
    EXPECT_EQ(window.statusText, L"");
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(MainWindow, LoadReportsServicesThatCannotBeMadeAndKeepsTheDesignStatus) {
    creationFails = true;
    behaviour.OnLoad();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, kLoadFailed + L"Class not registered.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.statusText, L"lblStatus");
    EXPECT_EQ(window.sourcePathText, L"");
    EXPECT_FALSE(window.okEnabled);
    EXPECT_FALSE(behaviour.HasFileSystem());

    // Without services, OK (for a path typed later) is reported as a failed copy.
    creationFails = false;
    window.messages.clear();
    behaviour.OnOKClick();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text.rfind(
                  L"An error has occurred while trying to copy files.  Error: ", 0),
              0u);
}

TEST_F(MainWindow, LoadReportsAFailedProbeAndEmptiesThePathBox) {
    listedFiles = {kCandidate2};
    failAt = 1;
    behaviour.OnLoad();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, kLoadFailed + InstrumentedFileSystem::kInjectedFailureText);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.sourcePathText, L"");
    EXPECT_EQ(window.statusText, L"");
    EXPECT_FALSE(window.okEnabled);
}

// The path check

TEST_F(MainWindow, CheckEnablesOKOnlyForAnExistingFileWhateverItsName) {
    WriteFile(folder.Child(L"any name.dat"), "x");
    WriteFile(folder.Child(L"Tarno.exe"), "");

    window.SetSourcePathText(folder.Text(L"any name.dat"));
    EXPECT_TRUE(window.okEnabled);
    window.SetSourcePathText(folder.Text(L"missing.exe"));
    EXPECT_FALSE(window.okEnabled);
    window.SetSourcePathText(folder.Text(L"Tarno.exe"));
    EXPECT_TRUE(window.okEnabled);
    window.SetSourcePathText(folder.Text());
    EXPECT_FALSE(window.okEnabled) << "a folder is not a file";
}

TEST_F(MainWindow, CheckOfOnlySpacesDisablesOKWithoutAskingTheFileSystem) {
    WriteFile(folder.Child(L"Tarno.exe"), "");
    window.SetSourcePathText(folder.Text(L"Tarno.exe"));
    ASSERT_TRUE(window.okEnabled);
    const std::size_t madeBefore = created.size();

    window.SetSourcePathText(L"     ");
    EXPECT_FALSE(window.okEnabled);
    window.SetSourcePathText(L"");
    EXPECT_FALSE(window.okEnabled);
    EXPECT_EQ(created.size(), madeBefore);
}

TEST_F(MainWindow, CheckAsksWithTheSpacesKeptAndAFreshServiceObject) {
    WriteFile(folder.Child(L"Tarno.exe"), "");
    behaviour.OnLoad();
    const std::size_t madeAtLoad = created.size();
    const std::wstring padded = L"  " + folder.Text(L"Tarno.exe") + L" ";

    window.SetSourcePathText(padded);

    ASSERT_EQ(created.size(), madeAtLoad + 1);
    EXPECT_EQ(*created.back(), std::vector<std::wstring>{L"FileExists " + padded});
    EXPECT_FALSE(window.okEnabled) << "no file is named with the spaces";
    EXPECT_EQ(created.front()->size(), kInstallCandidates.size())
        << "the window's own object only ran the detection";
}

TEST_F(MainWindow, CheckThatCannotMakeItsServiceObjectLeavesOKDisabled) {
    WriteFile(folder.Child(L"Tarno.exe"), "");
    creationFails = true;
    window.SetSourcePathText(folder.Text(L"Tarno.exe"));
    EXPECT_FALSE(window.okEnabled);
    EXPECT_TRUE(window.messages.empty());
}

// Closing

TEST_F(MainWindow, CancelAndTheCloseBoxCloseTheWindow) {
    behaviour.OnLoad();
    EXPECT_TRUE(behaviour.OnCloseRequest());
    behaviour.OnCancelClick();
    EXPECT_TRUE(window.closed);
    behaviour.OnUnload();
    EXPECT_FALSE(behaviour.HasFileSystem());
}

// Events that reach the window during the copy's one pass over pending events: a close, a
// second OK, Cancel, Browse, and typing must neither start anything nor close the window.
TEST_F(MainWindow, EventsDuringTheCopyAreHeldOff) {
    WriteFile(folder.Child(L"client/Tarno.exe"), "");
    WriteFile(folder.Child(L"client/Common/VestroData/old.txt"), "old");
    WriteFile(folder.Child(L"Data/new.txt"), "new");
    behaviour.OnLoad();
    window.SetSourcePathText(folder.Text(L"client/Tarno.exe"));
    ASSERT_TRUE(window.okEnabled);

    bool closeAllowedDuringCopy = true;
    window.onProcessPendingEvents = [&] {
        closeAllowedDuringCopy = behaviour.OnCloseRequest();
        behaviour.OnOKClick();
        behaviour.OnCancelClick();
        behaviour.OnBrowseClick();
        window.SetSourcePathText(folder.Text(L"client/Tarno.exe"));
        EXPECT_FALSE(window.okEnabled);
        EXPECT_FALSE(window.closed);
    };
    behaviour.OnOKClick();

    EXPECT_FALSE(closeAllowedDuringCopy);
    EXPECT_TRUE(dialog.calls.empty());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, L"Files have been successfully copied.");
    EXPECT_TRUE(window.closed);
    EXPECT_TRUE(behaviour.OnCloseRequest()) << "after the copy the window may close";
}

}  // namespace
}  // namespace vestro
