#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <thread>

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

TEST(WindowAnswersTest, WhileACopyIsHeldTheWindowAnswersAndRefusesToClose) {
    TemporaryFolder temporary;
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    MakeFolder(temporary.Child(L"Client\\Common"));
    std::promise<void> gate;
    const std::shared_future<void> opened = gate.get_future().share();
    ScriptedFileDialog dialog;
    auto window = std::make_unique<Win32MainWindow>(
        CreateFileSystem, temporary.Text(L"Program"), dialog,
        [opened](FileSystem&, const DeploymentPaths&, const ReplacementProgress&) {
            opened.wait_for(std::chrono::minutes(1));  // bounded: a copy on the window's thread
            return Status::Success();
        });
    ASSERT_FALSE(window->Create(GetModuleHandleW(nullptr)).Failed());
    window->Open(SW_SHOWNOACTIVATE);
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    const HWND handle = window->Handle();
    const auto enabled = [&](ControlId id) { return IsWindowEnabled(window->Control(id)) != 0; };
    const auto readOnly = [&] {
        return (GetWindowLongW(window->Control(ControlId::txtSourcePath), GWL_STYLE) &
                ES_READONLY) != 0;
    };
    PostMessageW(handle, WM_COMMAND, MAKEWPARAM(static_cast<int>(ControlId::cmdOK), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->Control(ControlId::cmdOK)));

    // Another thread asks as Windows does before it calls a window "Not Responding", and as a
    // user who closes the window, once the click is handled: the path box is its last change.
    std::atomic<bool> heldState = false, answered = false, closeRefused = false, done = false;
    std::jthread user([&] {
        for (int round = 0; round < 600 && !readOnly(); ++round) {
            Sleep(100);
        }
        heldState = readOnly() && !enabled(ControlId::cmdOK) && !enabled(ControlId::cmdCancel) &&
                    !enabled(ControlId::cmdBrowse);
        for (int attempt = 0; attempt < 3 && !answered; ++attempt) {
            DWORD_PTR result = 0;
            answered = SendMessageTimeoutW(handle, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result) != 0;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(handle, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &result);
        closeRefused = IsWindow(handle) != 0;
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    EXPECT_TRUE(heldState);
    EXPECT_TRUE(answered) << "no answer within 100 ms while the copy was held";
    EXPECT_TRUE(closeRefused);

    // The window's end waits for the copy; its outcome, still queued, goes with the window, which
    // posts the program's end: the next test starts with an empty queue.
    gate.set_value();
    window.reset();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace vestro::testing
