#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window/win32_main_window.h"
#include "main_window/win32_message_pump.h"
#include "support/scripted_file_dialog.h"
#include "support/temporary_folder.h"

namespace vestro::testing {
namespace {

// A message box as it came up: who owns it and which icon it shows.
struct ShownMessage {
    HWND owner;
    HICON icon;
};

// The real frmVestroFile on the real file system, created but not opened; its program folder is
// <temporary>\Program. Message boxes of this thread are written down and answered with OK.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeFolder(temporary.Child(L"Program"));
        auto createFileSystem = [this] {
            visibleWhenLoading.push_back(IsWindowVisible(window ? window->Handle() : nullptr));
            return failFileSystem
                       ? FileSystemCreation{nullptr, Status::Failure(
                                                         std::make_error_code(std::errc::io_error),
                                                         L"No services.")}
                       : CreateFileSystem();
        };
        window =
            std::make_unique<Win32MainWindow>(createFileSystem, temporary.Text(L"Program"), dialog);
        ASSERT_FALSE(window->Create(GetModuleHandleW(nullptr)).Failed());
        current = this;
        timer = SetTimer(nullptr, 0, 20, AnswerMessageBoxes);
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        window.reset();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    // A modal loop runs the timer, which finds the box once it is up.
    static void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), AnswerOne, 0);
    }
    static BOOL CALLBACK AnswerOne(HWND box, LPARAM) {
        wchar_t className[16] = {};
        GetClassNameW(box, className, 16);
        if (IsWindowVisible(box) && std::wstring(className) == L"#32770") {
            const HWND iconLabel = FindWindowExW(box, nullptr, L"Static", nullptr);
            HICON icon = nullptr;
            for (HWND child = iconLabel; child != nullptr && icon == nullptr;
                 child = FindWindowExW(box, child, L"Static", nullptr)) {
                icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            }
            current->messages.push_back({GetWindow(box, GW_OWNER), icon});
            if (current->onMessage) {
                current->onMessage();
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }

    HWND Handle() const { return window->Handle(); }
    bool IsEnabled(ControlId id) const { return IsWindowEnabled(window->Control(id)) != FALSE; }
    void Click(ControlId id) {
        SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window->Control(id)));
    }
    // Lets the program's message loop handle everything queued; its exit code, or 99 when the
    // window did not end the program.
    int RunLoopUntilIdle() {
        PostQuitMessage(99);
        return RunMessageLoop(Handle());
    }
    // Handles what arrives until count message boxes have come, for at most ten seconds.
    void WaitForMessages(std::size_t count) {
        for (int round = 0; round < 400 && messages.size() < count; ++round) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
                DispatchMessageW(&message);
            }
            Sleep(25);
        }
        ASSERT_EQ(count, messages.size()) << "message boxes that came up";
    }
    std::wstring LayOutClient(bool withData) {
        if (withData) {
            WriteFile(temporary.Child(L"Program\\Data\\readme.txt"), "data");
        }
        WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
        MakeFolder(temporary.Child(L"Client\\Common"));
        return temporary.Text(L"Client\\Tarno.exe");
    }

    inline static WindowTest* current = nullptr;
    TemporaryFolder temporary;
    ScriptedFileDialog dialog;
    std::unique_ptr<Win32MainWindow> window;
    UINT_PTR timer = 0;
    std::vector<bool> visibleWhenLoading;
    bool failFileSystem = false;
    std::vector<ShownMessage> messages;
    std::function<void()> onMessage;
};

TEST_F(WindowTest, ShowsOnlyAfterTheLoad) {
    window->Open(SW_SHOWNOACTIVATE);

    ASSERT_FALSE(visibleWhenLoading.empty());
    EXPECT_FALSE(visibleWhenLoading.front());
    EXPECT_TRUE(IsWindowVisible(Handle()));
}

TEST_F(WindowTest, ACloseWhileAHandlerRunsWaitsForIt) {
    failFileSystem = true;  // the load shows a message, and the close arrives meanwhile
    onMessage = [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); };
    const HWND opened = Handle();

    window->Open(SW_SHOWNOACTIVATE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_TRUE(IsWindow(opened)) << "destroyed under the running load";

    EXPECT_EQ(0, RunLoopUntilIdle());
    EXPECT_FALSE(IsWindow(opened));
}

TEST_F(WindowTest, EnterAndEscapeDoNothing) {
    window->Open(SW_SHOW);
    window->SetSourcePathText(LayOutClient(true));
    ASSERT_TRUE(IsEnabled(ControlId::cmdOK));
    const HWND pathBox = window->Control(ControlId::txtSourcePath);
    SetFocus(pathBox);

    for (const UINT key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageW(pathBox, WM_KEYDOWN, key, 1);
        PostMessageW(pathBox, WM_KEYUP, key, 0xC0000001);
        EXPECT_EQ(99, RunLoopUntilIdle()) << key;
    }
    EXPECT_TRUE(IsWindow(Handle()));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(std::filesystem::exists(temporary.Child(L"Client\\Common\\VestroData")));
}

TEST_F(WindowTest, MessagesAreOwnedByTheWindowWithTheOutcomesIcon) {
    window->Open(SW_SHOWNOACTIVATE);
    const HWND opened = Handle();
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));

    Click(ControlId::cmdOK);  // no Common folder
    ASSERT_NO_FATAL_FAILURE(WaitForMessages(1));
    LayOutClient(true);
    Click(ControlId::cmdOK);
    ASSERT_NO_FATAL_FAILURE(WaitForMessages(2));

    EXPECT_EQ(opened, messages[0].owner);
    EXPECT_EQ(LoadIconW(nullptr, IDI_EXCLAMATION), messages[0].icon);
    EXPECT_EQ(opened, messages[1].owner);
    EXPECT_EQ(LoadIconW(nullptr, IDI_INFORMATION), messages[1].icon);
}

TEST(ManifestTest, AsksForElevationLongPathsAndPerMonitorDpi) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto product = std::filesystem::path(self).parent_path() / L"VestroFile.exe";
    const HMODULE module = LoadLibraryExW(product.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << "no VestroFile.exe beside the tests";
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(nullptr, found);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                               SizeofResource(module, found));
    FreeLibrary(module);

    for (const char* wanted :
         {"level=\"requireAdministrator\"", ">PerMonitorV2<", ">true</longPathAware>"}) {
        EXPECT_NE(std::string::npos, manifest.find(wanted)) << wanted;
    }
}

}  // namespace
}  // namespace vestro::testing
