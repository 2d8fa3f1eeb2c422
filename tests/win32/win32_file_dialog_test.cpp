#include "client_location/win32_file_dialog.h"

#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>

#include <string>

#include "support/temporary_folder.h"
#include "win32/dialog_answerer.h"

namespace vestro::testing {
namespace {

TEST(OpenFileNameFilterTest, BarsBecomeNulsAndTwoNulsEndTheList) {
    EXPECT_EQ(std::wstring(L"Tarno.exe\0Tarno.exe\0\0", 21),
              OpenFileNameFilter(L"Tarno.exe|Tarno.exe"));
    EXPECT_EQ(std::wstring(L"Programs\0*.exe\0All\0*.*\0\0", 24),
              OpenFileNameFilter(L"Programs|*.exe|All|*.*"));
}

// The real GetOpenFileNameW dialog, answered through its own controls.
class Win32FileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
        commonDialog.SetOwner(owner);
        commonDialog.SetFileName(L"Tarno.exe");
        commonDialog.SetCancelError(true);
        commonDialog.SetFilter(L"Tarno.exe|Tarno.exe");
        commonDialog.SetFlags(OFN_FILEMUSTEXIST);
    }
    void TearDown() override { DestroyWindow(owner); }

    // Types the path into the dialog's file-name field and presses Open.
    static DialogAnswerer::Answer Choose(const std::wstring& path) {
        return [path](HWND dialog) {
            EnumChildWindows(
                dialog,
                [](HWND child, LPARAM text) {
                    wchar_t className[32] = {};
                    GetClassNameW(child, className, 32);
                    wchar_t current[MAX_PATH] = {};
                    GetWindowTextW(child, current, MAX_PATH);
                    if (_wcsicmp(className, L"Edit") == 0 && wcscmp(current, L"Tarno.exe") == 0) {
                        SetWindowTextW(child, reinterpret_cast<const wchar_t*>(text));
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(path.c_str()));
            DialogAnswerer::PressOK(dialog);
        };
    }

    HWND owner = nullptr;
    Win32FileDialog commonDialog;
};

TEST_F(Win32FileDialogTest, ShowsTheSettingsOwnedByTheOwnerAndReportsACancel) {
    DialogAnswerer answerer(DialogAnswerer::PressCancel);

    const FileDialog::Result result = commonDialog.ShowOpen();

    EXPECT_EQ(FileDialog::Outcome::Cancelled, result.outcome);
    ASSERT_EQ(1u, answerer.Dialogs().size());
    const DialogRecord& shown = answerer.Dialogs()[0];
    EXPECT_EQ(owner, shown.owner);
    EXPECT_TRUE(shown.HasChild(L"Edit", L"Tarno.exe")) << "the file-name field";
    EXPECT_TRUE(shown.HasChild(L"ComboBox", L"Tarno.exe")) << "the filter";
}

TEST_F(Win32FileDialogTest, CancelWithoutCancelErrorIsAnEmptyAnswer) {
    commonDialog.SetCancelError(false);
    DialogAnswerer answerer(DialogAnswerer::PressCancel);

    const FileDialog::Result result = commonDialog.ShowOpen();

    EXPECT_EQ(FileDialog::Outcome::Chosen, result.outcome);
    EXPECT_EQ(L"", result.fileName);
}

TEST_F(Win32FileDialogTest, ReturnsTheFullPathOfTheChosenFile) {
    TemporaryFolder temporary;
    WriteFile(temporary.Child(L"Client Folder\\Tarno.exe"), "");
    const std::wstring chosen = temporary.Text(L"Client Folder\\Tarno.exe");
    DialogAnswerer answerer(Choose(chosen));

    const FileDialog::Result result = commonDialog.ShowOpen();

    EXPECT_EQ(FileDialog::Outcome::Chosen, result.outcome);
    EXPECT_EQ(0, _wcsicmp(chosen.c_str(), result.fileName.c_str())) << result.fileName;
}

}  // namespace
}  // namespace vestro::testing
