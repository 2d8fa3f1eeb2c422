// The real VestroFile.exe, started as a user starts it and worked through its windows from
// outside. Each test lays out its own folder under C:\vestro-e2e.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "main_window/win32_layout.h"
#include "support/temporary_folder.h"

namespace vestro::testing {
namespace {

namespace fs = std::filesystem;

// The one wait of the suite: asks again until the condition holds, for at most 20 seconds.
bool WaitUntil(const std::function<bool()>& condition) {
    for (int round = 0; round < 400 && !condition(); ++round) {
        Sleep(50);
    }
    return condition();
}

// Bounded, so that a program that hangs fails the test instead of stopping the driver.
std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}
void SetText(HWND window, const std::wstring& text) {
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

// The one library the program loads that Windows would look for beside it first. (Under Wine
// only an import shows it: a library loaded by name later, by the program or by system code for
// it, never comes from there.)
constexpr wchar_t kPlantedName[] = L"rstrtmgr.dll";

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::path(L"C:\\vestro-e2e") /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        // A program that has just ended may hold its folder for a moment.
        std::error_code error;
        ASSERT_TRUE(WaitUntil([&] { return !fs::remove_all(folder, error) || !error; }));
        exe = folder / L"Données 数据" / L"VestroFile.exe";
        fs::create_directories(exe.parent_path());
        wchar_t driver[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, driver, MAX_PATH);
        fs::copy_file(fs::path(driver).parent_path() / L"VestroFile.exe", exe);
        fs::copy_file(fs::path(driver).parent_path() / L"vestro_planted_library.dll",
                      exe.parent_path() / kPlantedName);
        // What the tree may hold is the core suite's; here, that it is the Data beside the program.
        WriteFile(exe.parent_path() / L"Data/readme.txt", "new");
        data = SnapshotTree(exe.parent_path() / L"Data");
        tarno = folder / L"client" / L"Tarno.exe";
        WriteFile(tarno, "MZ");
        WriteFile(Common() / L"VestroData/old.txt", "old");
        // Started from another folder, which holds a Data of its own.
        const fs::path elsewhere = folder / L"elsewhere";
        WriteFile(elsewhere / L"Data/decoy.txt", "decoy");
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        // Under load Wine now and then fails a start (error 1359); the next one succeeds.
        for (int attempt = 0; attempt < 3 && process.hProcess == nullptr; ++attempt, Sleep(500)) {
            CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           elsewhere.c_str(), &startup, &process);
        }
        ASSERT_NE(nullptr, process.hProcess) << "error " << GetLastError();
        ASSERT_TRUE(WaitUntil([&] {
            window = FindWindowW(L"VestroFile.frmVestroFile", nullptr);
            return IsWindowVisible(window);
        })) << "the window did not open";
    }
    // The program does not outlive the test, and it loaded nothing planted beside it.
    void TearDown() override {
        if (process.hProcess != nullptr) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        EXPECT_FALSE(fs::exists(exe.parent_path() / (kPlantedName + std::wstring(L".loaded"))))
            << "the library planted beside the program was loaded";
    }

    fs::path Common() const { return tarno.parent_path() / L"Common"; }
    HWND Control(ControlId id) const { return GetDlgItem(window, static_cast<int>(id)); }
    bool IsEnabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    void Click(ControlId id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }
    // The next dialog owned by owner: a message box or the open-file dialog.
    static HWND WaitForDialogOf(HWND owner) {
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitUntil([&] {
            dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
            while (dialog != nullptr && GetWindow(dialog, GW_OWNER) != owner) {
                dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr);
            }
            return IsWindowVisible(dialog);
        })) << "no dialog came up";
        return dialog;
    }
    static void Answer(HWND dialog, int button) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_TRUE(WaitUntil([dialog] { return !IsWindow(dialog); })) << "still open";
    }

    fs::path folder, exe, tarno;
    TreeSnapshot data;
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// A typed path (ending in spaces) stays when Browse is cancelled, the dialog refuses a missing
// file, and a picked file is copied to. Failures and what they leave are the core suite's.
TEST_F(EndToEnd, StartedElsewhereItBrowsesAndCopiesTheDataBesideIt) {
    const HWND pathBox = Control(ControlId::txtSourcePath);
    const std::wstring typed = tarno.wstring() + L"  ";
    SetText(pathBox, typed);
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(ControlId::cmdOK); }));
    Click(ControlId::cmdBrowse);
    Answer(WaitForDialogOf(window), IDCANCEL);
    EXPECT_EQ(typed, TextOf(pathBox));

    Click(ControlId::cmdBrowse);
    const HWND dialog = WaitForDialogOf(window);
    // The name box: cmb13 in the explorer style, edt1 in the older dialog.
    HWND nameBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (nameBox = GetDlgItem(dialog, 0x47C)) || (nameBox = GetDlgItem(dialog, 0x480));
    }));
    SetText(nameBox, (tarno.parent_path() / L"Missing.exe").wstring());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Answer(WaitForDialogOf(dialog), IDOK);
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog took a missing file";

    SetText(nameBox, tarno.wstring());
    Answer(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(pathBox) == tarno.wstring(); }));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(ControlId::cmdOK); }));
    Click(ControlId::cmdOK);
    const HWND box = WaitForDialogOf(window);
    EXPECT_TRUE(WaitUntil([&] {
        return TextOf(GetDlgItem(box, 0xFFFF)) == L"Files have been successfully copied.";
    }));
    Answer(box, IDOK);
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process.hProcess, 20000);
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(data, SnapshotTree(Common() / L"VestroData"));
    EXPECT_EQ(data.size() + 1, SnapshotTree(Common()).size()) << "leftovers beside VestroData";
}

}  // namespace
}  // namespace vestro::testing
