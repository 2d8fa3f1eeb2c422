#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "main_window/win32_main_window.h"
#include "main_window/win32_message_pump.h"
#include "support/scripted_file_dialog.h"
#include "support/temporary_folder.h"

namespace vestro::testing {
namespace {

// Wine keeps no shutdown reason: written down instead, "" when removed.
struct RecordedShutdownReason final : ShutdownReason {
    void Show(HWND, const wchar_t* reason) override { shown.push_back(reason); }
    void Remove(HWND) override { shown.push_back(L""); }
    std::vector<std::wstring> shown;
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
                                                         L"None.")}
                       : CreateFileSystem();
        };
        window = std::make_unique<Win32MainWindow>(
            createFileSystem, temporary.Text(L"Program"), dialog,
            [this](FileSystem& fileSystem, const DeploymentPaths& paths,
                   const ReplacementProgress& progress, const NewDataInPlace& newDataInPlace) {
                return deploy(fileSystem, paths, progress, newDataInPlace);
            },
            shutdownReason);
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
            HICON icon = nullptr;
            for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr);
                 child != nullptr && icon == nullptr;
                 child = FindWindowExW(box, child, L"Static", nullptr)) {
                icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            }
            current->messages.emplace_back(GetWindow(box, GW_OWNER), icon);
            if (current->onMessage) {
                current->onMessage();
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
    HWND Handle() const { return window->Handle(); }
    bool IsEnabled(ControlId id) const { return IsWindowEnabled(window->Control(id)) != FALSE; }
    // Whether the progress bar shows, and its position.
    std::pair<bool, LRESULT> ProgressBar() const {
        const HWND bar = window->Control(ControlId::prgCopyProgress);
        return {IsWindowVisible(bar) != FALSE, SendMessageW(bar, PBM_GETPOS, 0, 0)};
    }
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
    // Handles this thread's messages, as the program's loop does, until done holds or a minute
    // is up.
    static bool PumpUntil(const std::function<bool()>& done) {
        for (int round = 0; round < 600 && !done(); ++round) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return done();
    }
    std::wstring LayOutClient() {
        WriteFile(temporary.Child(L"Program\\Data\\readme.txt"), "data");
        WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
        MakeFolder(temporary.Child(L"Client\\Common"));
        return temporary.Text(L"Client\\Tarno.exe");
    }

    inline static WindowTest* current = nullptr;
    TemporaryFolder temporary;
    ScriptedFileDialog dialog;
    RecordedShutdownReason shutdownReason;
    Deployment deploy = DeployData;
    std::unique_ptr<Win32MainWindow> window;
    UINT_PTR timer = 0;
    std::vector<bool> visibleWhenLoading;
    bool failFileSystem = false;
    std::vector<std::pair<HWND, HICON>> messages;  // each box's owner and icon
    std::function<void()> onMessage;
};

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

TEST_F(WindowTest, ShowsOnlyAfterTheLoadAndEnterAndEscapeDoNothing) {
    window->Open(SW_SHOW);
    EXPECT_EQ(visibleWhenLoading, std::vector<bool>{false});
    EXPECT_TRUE(IsWindowVisible(Handle()));
    window->SetSourcePathText(LayOutClient());
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

TEST_F(WindowTest, MessagesAreOwnedByTheWindowWithTheOutcomesIconAndAFullBarForSuccess) {
    std::vector<std::pair<bool, LRESULT>> barAtMessages;
    onMessage = [&] { barAtMessages.push_back(ProgressBar()); };
    window->Open(SW_SHOWNOACTIVATE);
    const HWND opened = Handle();
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    Click(ControlId::cmdOK);  // no Common folder
    ASSERT_TRUE(PumpUntil([&] { return messages.size() == 1; }));
    LayOutClient();
    Click(ControlId::cmdOK);
    ASSERT_TRUE(PumpUntil([&] { return messages.size() == 2; }));
    EXPECT_EQ(messages[0], std::pair(opened, LoadIconW(nullptr, IDI_EXCLAMATION)));
    EXPECT_EQ(messages[1], std::pair(opened, LoadIconW(nullptr, IDI_INFORMATION)));
    EXPECT_EQ(barAtMessages, (std::vector<std::pair<bool, LRESULT>>{{false, 0}, {true, 1000}}));
}

TEST_F(WindowTest, WhileACopyIsHeldTheWindowAnswersAndRefusesToCloseOrToEndTheSession) {
    std::promise<void> gate;
    deploy = [opened = gate.get_future().share()](FileSystem&, const DeploymentPaths&,
                                                  const ReplacementProgress&,
                                                  const NewDataInPlace&) {
        opened.wait_for(std::chrono::minutes(1));  // bounded: a copy on the window's thread
        return Status::Failure(std::make_error_code(std::errc::io_error), L"Held.");
    };
    window->Open(SW_SHOWNOACTIVATE);
    window->SetSourcePathText(LayOutClient());
    EXPECT_FALSE(ProgressBar().first) << "shown at rest";
    Click(ControlId::cmdOK);
    // Nothing measured yet: the bar moves without a share.
    EXPECT_TRUE(
        ProgressBar().first &&
        (GetWindowLongW(window->Control(ControlId::prgCopyProgress), GWL_STYLE) & PBS_MARQUEE));
    EXPECT_TRUE(GetWindowLongW(window->Control(ControlId::txtSourcePath), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK) || IsEnabled(ControlId::cmdCancel) ||
                 IsEnabled(ControlId::cmdBrowse));
    // Another thread asks as Windows does before it calls a window "Not Responding", and as a
    // user who closes the window.
    std::atomic<bool> answered = false, closeRefused = false, done = false;
    std::jthread user([&, handle = Handle()] {
        for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
            answered = SendMessageTimeoutW(handle, WM_NULL, 0, 0, SMTO_NORMAL, 100, nullptr) != 0;
        }
        SendMessageTimeoutW(handle, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
        closeRefused = IsWindow(handle) != 0;
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    EXPECT_TRUE(answered) << "no answer within 100 ms while the copy was held";
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(FALSE, SendMessageW(Handle(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(shutdownReason.shown, std::vector<std::wstring>{L"Copying the Vestro data"});
    gate.set_value();
    ASSERT_TRUE(PumpUntil([&] { return messages.size() == 1; }));  // the copy's outcome
    EXPECT_FALSE(ProgressBar().first) << "shown after the copy";
    EXPECT_EQ(shutdownReason.shown, (std::vector<std::wstring>{L"Copying the Vestro data", L""}));
    EXPECT_EQ(TRUE, SendMessageW(Handle(), WM_QUERYENDSESSION, 0, 0));
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
