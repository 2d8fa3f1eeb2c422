#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "main_window/user_texts.h"
#include "main_window/win32_main_window.h"
#include "support/scripted_file_dialog.h"
#include "support/temporary_folder.h"

namespace vestro::testing {
namespace {

// Handles this thread's messages, as the program's loop does, until done holds or a minute is up.
bool PumpUntil(const std::function<bool()>& done) {
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

TEST(WindowAnswersTest, WhileACopyIsHeldTheWindowAnswersAndRefusesToCloseThenShowsTheOutcome) {
    TemporaryFolder temporary;
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    MakeFolder(temporary.Child(L"Client\\Common"));
    std::promise<void> gate;
    const std::shared_future<void> opened = gate.get_future().share();
    ScriptedFileDialog dialog;
    auto window = std::make_unique<Win32MainWindow>(
        CreateFileSystem, temporary.Text(L"Program"), dialog,
        [opened](FileSystem&, const DeploymentPaths&, const ReplacementProgress&) {
            opened.wait();
            return Status::Failure(std::make_error_code(std::errc::io_error),
                                   L"Held, then failed.");
        });
    ASSERT_FALSE(window->Create(GetModuleHandleW(nullptr)).Failed());
    window->Open(SW_SHOWNOACTIVATE);
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    const HWND handle = window->Handle();
    const auto enabled = [&](ControlId id) { return IsWindowEnabled(window->Control(id)) != 0; };
    const HWND pathBox = window->Control(ControlId::txtSourcePath);
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(static_cast<int>(ControlId::cmdOK), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->Control(ControlId::cmdOK)));

    // Another thread acts as Windows (is the window answering?) and as the user.
    std::atomic<bool> answered = false, closeRefused = false, done = false;
    std::wstring messageText(512, L'\0');
    std::jthread user([&] {
        for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
            DWORD_PTR result = 0;
            answered = SendMessageTimeoutW(handle, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) != 0;
        }
        SendMessageW(handle, WM_CLOSE, 0, 0);
        closeRefused = IsWindow(handle) != 0;
        gate.set_value();
        HWND box = nullptr;
        for (int round = 0; round < 600 && box == nullptr; ++round) {
            Sleep(100);
            box = FindWindowW(L"#32770", kApplicationTitle);
        }
        GetDlgItemTextW(box, 0xFFFF, messageText.data(), static_cast<int>(messageText.size()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        done = true;
    });
    EXPECT_FALSE(enabled(ControlId::cmdOK) || enabled(ControlId::cmdCancel) ||
                 enabled(ControlId::cmdBrowse));
    EXPECT_TRUE(GetWindowLongW(pathBox, GWL_STYLE) & ES_READONLY);

    ASSERT_TRUE(PumpUntil([&] { return done && enabled(ControlId::cmdOK); }));
    EXPECT_TRUE(answered) << "no answer within 100 ms while the copy was held";
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(messageText.c_str(), kCopyFailedPrefix + std::wstring(L"Error: Held, then failed."));
    EXPECT_TRUE(enabled(ControlId::cmdCancel) && enabled(ControlId::cmdBrowse));
    EXPECT_FALSE(GetWindowLongW(pathBox, GWL_STYLE) & ES_READONLY);

    // The window's end posts the program's end; the next test starts with an empty queue.
    window.reset();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace vestro::testing
