#include "win32/window_fixture.h"

#include <system_error>

#include "file_system/file_system.h"

namespace vestro::testing {

void WindowTest::SetUp() {
    MakeFolder(temporary.Child(L"Program"));
    auto createFileSystem = [this] {
        visibleAtFileSystemCreation.push_back(window != nullptr &&
                                              IsWindowVisible(window->Handle()) != FALSE);
        if (failFileSystemCreation) {
            return FileSystemCreation{
                nullptr, Status::Failure(std::make_error_code(std::errc::not_enough_memory),
                                         L"No file-system services in this test.")};
        }
        return CreateFileSystem();
    };
    window =
        std::make_unique<Win32MainWindow>(createFileSystem, temporary.Text(L"Program"), dialog);
    const Status created = window->Create(GetModuleHandleW(nullptr));
    ASSERT_FALSE(created.Failed()) << "the window was not created";
}

void WindowTest::TearDown() {
    window.reset();
    // Destroying the window posts the program's end; the next test starts with a clean queue.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::wstring WindowTest::TextOf(ControlId id) const {
    const HWND control = ControlOf(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void WindowTest::Click(ControlId id) {
    SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ControlOf(id)));
}

void WindowTest::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsWindow(Handle()) || !IsDialogMessageW(Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

int WindowTest::TakeQuit() {
    MSG message;
    if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        return static_cast<int>(message.wParam);
    }
    return -1;
}

std::wstring WindowTest::LayOutClientAndData() {
    WriteFile(temporary.Child(L"Program\\Data\\readme.txt"), "data");
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    MakeFolder(temporary.Child(L"Client\\Common"));
    return temporary.Text(L"Client\\Tarno.exe");
}

}  // namespace vestro::testing
