#include "deployment/copy_action.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "deployment/deployment_layout.h"
#include "support/recording_window.h"

namespace vestro {
namespace {

using testing::DeploymentLayout;
using testing::MakeFolder;
using testing::RecordingWindow;
using testing::SnapshotTree;
using testing::TreeSnapshot;
using testing::WriteFile;
namespace fs = std::filesystem;

const std::wstring kCopying = L"Copying Files.  Please Wait...";
const std::wstring kCopyFailed = L"An error has occurred while trying to copy files.  Error: ";

class CopyAction : public ::testing::Test {
  protected:
    CopyAction() {
        // As after the load sequence: the path of an existing file in the box, OK enabled.
        window.sourcePathText = layout.ExePath();
        window.statusText = L"";
        window.okEnabled = true;
    }

    void ClickOK() { RunCopyAction(window, fso.get(), layout.ProgramFolder()); }

    void ExpectFailureShown(const std::wstring& reasonMentions) {
        ASSERT_EQ(window.messages.size(), 1u);
        const std::wstring& text = window.messages[0].text;
        EXPECT_EQ(text.rfind(kCopyFailed, 0), 0u) << ::testing::PrintToString(text);
        EXPECT_NE(text.find(reasonMentions), std::wstring::npos) << ::testing::PrintToString(text);
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(window.okEnabled);
        EXPECT_TRUE(window.cancelEnabled);
        EXPECT_FALSE(window.closed);
    }

    std::unique_ptr<FileSystem> fso = CreateFileSystem().fileSystem;
    DeploymentLayout layout;
    RecordingWindow window;
};

TEST_F(CopyAction, SuccessReplacesTheDataReportsAndCloses) {
    const TreeSnapshot data = SnapshotTree(layout.Data());

    ClickOK();

    EXPECT_EQ(SnapshotTree(layout.VestroData()), data);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, L"Files have been successfully copied.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    const std::vector<std::wstring> expectedCalls = {
        L"EnableOK(false)",      L"EnableCancel(false)", L"SetStatusText(" + kCopying + L")",
        L"ProcessPendingEvents", L"ShowMessage",         L"Close"};
    EXPECT_EQ(window.calls, expectedCalls);
    EXPECT_TRUE(window.closed);
}

TEST_F(CopyAction, TheNewStatusIsShownBeforeAnythingOnDiskChanges) {
    const TreeSnapshot old = SnapshotTree(layout.VestroData());
    bool oldDataStillThere = false;
    window.onProcessPendingEvents = [&] {
        oldDataStillThere = SnapshotTree(layout.VestroData()) == old;
        EXPECT_FALSE(window.okEnabled);
        EXPECT_FALSE(window.cancelEnabled);
        EXPECT_EQ(window.statusText, kCopying);
    };
    ClickOK();
    EXPECT_TRUE(oldDataStillThere);
}

TEST_F(CopyAction, MissingCommonFolderIsNamedAndNothingIsTouched) {
    fs::remove_all(layout.Common());
    const TreeSnapshot before = SnapshotTree(layout.root.Path());

    ClickOK();

    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              layout.root.Text(L"client/Common") +
                  L" not found.  Files have not been successfully copied.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    const std::vector<std::wstring> expectedCalls = {L"ShowMessage", L"EnableOK(true)",
                                                     L"EnableCancel(true)"};
    EXPECT_EQ(window.calls, expectedCalls);
    EXPECT_EQ(window.statusText, L"");
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
}

TEST_F(CopyAction, AnyFileNameLeadsToTheCommonFolderBesideIt) {
    window.sourcePathText = layout.root.Text(L"client/tool.exe");
    WriteFile(layout.root.Child(L"client/tool.exe"), "");

    ClickOK();

    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(window.closed);
}

TEST_F(CopyAction, SpacesAroundThePathAreIgnored) {
    window.sourcePathText = L"  " + layout.ExePath() + L"   ";
    ClickOK();
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
    EXPECT_TRUE(window.closed);
}

TEST_F(CopyAction, MissingDataFailsKeepsTheOldDataAndTheStatus) {
    fs::remove_all(layout.Data());
    const TreeSnapshot old = SnapshotTree(layout.VestroData());

    ClickOK();

    ExpectFailureShown(layout.SourceDir());
    EXPECT_EQ(window.statusText, kCopying);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.StrayEntriesInCommon().empty());

    // A second try, once Data is there, starts from the old status and succeeds.
    WriteFile(layout.Data() / "fresh.txt", "fresh");
    window.messages.clear();
    window.onProcessPendingEvents = nullptr;
    ClickOK();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
}

TEST_F(CopyAction, PathWithoutAFolderFailsBeforeTouchingAnything) {
    const TreeSnapshot before = SnapshotTree(layout.root.Path());
    window.sourcePathText = L"Tarno.exe";

    ClickOK();

    ExpectFailureShown(L"Tarno.exe");
    EXPECT_EQ(window.calls.front(), L"ShowMessage");
    EXPECT_EQ(window.statusText, L"");
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
}

TEST_F(CopyAction, WithoutFileSystemServicesTheCopyFails) {
    fso.reset();
    ClickOK();
    ExpectFailureShown(L"file-system");
}

TEST_F(CopyAction, ATargetInsideDataIsRefused) {
    // The client lies inside the program's Data folder.
    WriteFile(layout.Data() / "Tarno.exe", "");
    MakeFolder(layout.Data() / "Common");
    window.sourcePathText = layout.root.Text(L"program/Data/Tarno.exe");
    const TreeSnapshot before = SnapshotTree(layout.root.Path());

    ClickOK();

    ExpectFailureShown(layout.SourceDir());
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
}

TEST_F(CopyAction, DataInsideTheTargetIsRefused) {
    // The program was started from inside the old VestroData.
    WriteFile(layout.VestroData() / "Data" / "x.txt", "x");
    const TreeSnapshot before = SnapshotTree(layout.root.Path());

    RunCopyAction(window, fso.get(), layout.TargetDir());

    ExpectFailureShown(layout.TargetDir());
    EXPECT_EQ(SnapshotTree(layout.root.Path()), before);
}

}  // namespace
}  // namespace vestro
