// The real VestroFile.exe, started as a user starts it and worked through its windows from
// outside, in a folder of its own.
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

// The next dialog owned by owner: a message box or the open-file dialog.
HWND WaitForDialogOf(HWND owner) {
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
void Answer(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([dialog] { return !IsWindow(dialog); })) << "still open";
}

// The program does not outlive the test, nor its folder the program.
struct Started {
    ~Started() {
        if (process.hProcess != nullptr) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 10000);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    TemporaryFolder folder;
    PROCESS_INFORMATION process{};
};

// Started from another folder that holds a Data of its own: a typed path (ending in spaces) stays
// when Browse is cancelled, and a picked file is copied to (the rest is the core suite's).
TEST(EndToEnd, StartedElsewhereItBrowsesAndCopiesTheDataBesideIt) {
    Started program;
    const fs::path exe = program.folder.Child(L"Données 数据/VestroFile.exe");
    const fs::path tarno = program.folder.Child(L"client/Tarno.exe");
    const fs::path elsewhere = program.folder.Child(L"elsewhere");
    wchar_t driver[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, driver, MAX_PATH);
    WriteFile(exe.parent_path() / L"Data/readme.txt", "new");
    fs::copy_file(fs::path(driver).parent_path() / L"VestroFile.exe", exe);
    // A library of our own under the name of one the program uses: loaded, it marks the fact.
    fs::copy_file(fs::path(driver).parent_path() / L"vestro_planted_library.dll",
                  exe.parent_path() / L"rstrtmgr.dll");
    WriteFile(tarno, "MZ");
    WriteFile(tarno.parent_path() / L"Common/VestroData/old.txt", "old");
    WriteFile(elsewhere / L"Data/decoy.txt", "decoy");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    // Under load Wine now and then fails a start (error 1359); the next one succeeds.
    for (int attempt = 0; attempt < 3 && program.process.hProcess == nullptr;
         ++attempt, Sleep(500)) {
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       elsewhere.c_str(), &startup, &program.process);
    }
    ASSERT_NE(nullptr, program.process.hProcess) << "error " << GetLastError();
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        window = FindWindowW(L"VestroFile.frmVestroFile", nullptr);
        return IsWindowVisible(window);
    })) << "the window did not open";
    const auto control = [&](ControlId id) { return GetDlgItem(window, static_cast<int>(id)); };
    const auto click = [&](ControlId id) { PostMessageW(control(id), BM_CLICK, 0, 0); };

    const HWND pathBox = control(ControlId::txtSourcePath);
    const std::wstring typed = tarno.wstring() + L"  ";
    SetText(pathBox, typed);
    click(ControlId::cmdBrowse);
    Answer(WaitForDialogOf(window), IDCANCEL);
    EXPECT_EQ(typed, TextOf(pathBox));

    click(ControlId::cmdBrowse);
    const HWND dialog = WaitForDialogOf(window);
    // The name box: cmb13 in the explorer style, edt1 in the older dialog.
    HWND nameBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (nameBox = GetDlgItem(dialog, 0x47C)) || (nameBox = GetDlgItem(dialog, 0x480));
    }));
    EXPECT_EQ(TextOf(nameBox), L"Tarno.exe");  // every click starts from the client's name
    SetText(nameBox, tarno.wstring());
    Answer(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] {
        return TextOf(pathBox) == tarno.wstring() && IsWindowEnabled(control(ControlId::cmdOK));
    }));
    click(ControlId::cmdOK);
    Answer(WaitForDialogOf(window), IDOK);  // its text is the core suite's
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.process.hProcess, 20000);
    GetExitCodeProcess(program.process.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(fs::exists(exe.parent_path() / L"rstrtmgr.dll.loaded"))
        << "planted library loaded";
    EXPECT_EQ(SnapshotTree(exe.parent_path() / L"Data"),
              SnapshotTree(tarno.parent_path() / L"Common/VestroData"));
}

}  // namespace
}  // namespace vestro::testing
