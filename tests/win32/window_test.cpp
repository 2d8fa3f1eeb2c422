#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <tuple>
#include <vector>

#include "main_window/win32_main_window.h"
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
            const Status none =
                Status::Failure(std::make_error_code(std::errc::io_error), L"None.");
            return failFileSystem ? FileSystemCreation{nullptr, none} : CreateFileSystem();
        };
        window = std::make_unique<Win32MainWindow>(
            createFileSystem, temporary.Text(L"Program"), dialog,
            [this](auto&... arguments) { return deploy(arguments...); }, shutdownReason);
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
            for (HWND child = nullptr;
                 icon == nullptr && (child = FindWindowExW(box, child, L"Static", nullptr));) {
                icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            }
            current->messages.emplace_back(GetWindow(box, GW_OWNER), icon);
            current->onMessage();
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return TRUE;
    }
    HWND Handle() const { return window->Handle(); }
    bool IsEnabled(ControlId id) const { return IsWindowEnabled(window->Control(id)) != FALSE; }
    // Whether the progress bar shows, and how full it is, in thousandths.
    std::pair<bool, LRESULT> ProgressBar() const {
        const HWND bar = window->Control(ControlId::prgCopyProgress);
        const LRESULT range = std::max<LRESULT>(1, SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
        return {IsWindowVisible(bar) != FALSE, SendMessageW(bar, PBM_GETPOS, 0, 0) * 1000 / range};
    }
    static std::wstring TextOf(HWND control) {
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        return text;
    }
    // The key as a user presses it on the control that has the focus, through the program's loop.
    void Press(UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        EXPECT_EQ(99, RunLoopUntilIdle()) << key;
    }
    HCURSOR CursorOverTheWindow() {
        SendMessageW(Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
    void Click(ControlId id) {
        SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(static_cast<int>(id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window->Control(id)));
    }
    // The program's loop over what is queued: its exit code, or 99 if the window did not end it.
    int RunLoopUntilIdle() {
        PostQuitMessage(99);
        return RunMessageLoop(Handle());
    }
    // This thread's messages, handled as the program's loop does, until done or a minute is up.
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
    std::function<void()> onMessage = [] {};
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

// At rest: shown after its load, its texts, the tab order, and Enter and Escape doing nothing.
// While a copy is held (the copy's worker itself is the behaviour's): the progress bar, the close
// box, the end of the session, focus and the busy cursor. Then each outcome's message box.
TEST_F(WindowTest, AtRestDoesNothingUnaskedAndWhileACopyIsHeldRefusesToCloseOrToEndTheSession) {
    std::atomic<int> copies = 0;
    std::promise<void> gate;
    deploy = [&copies, released = gate.get_future().share()](auto&...) {
        ++copies;
        released.wait_for(std::chrono::minutes(1));  // bounded: a copy on the window's thread
        return Status::Failure(std::make_error_code(std::errc::io_error), L"Held.");
    };
    std::vector<std::pair<bool, LRESULT>> barAtMessages;
    onMessage = [&] { barAtMessages.push_back(ProgressBar()); };
    window->Open(SW_SHOW);
    const HWND opened = Handle();
    EXPECT_EQ(visibleWhenLoading, std::vector<bool>{false});
    EXPECT_TRUE(IsWindowVisible(Handle()));
    EXPECT_EQ(TextOf(Handle()), L"Copy Vestro Files");
    EXPECT_EQ(TextOf(window->Control(ControlId::lblExample)),
              L"If the destination path is empty then select the path where the Tarno.exe is "
              L"located. Example:  C:\\Program Files\\Tarno\\Tarno.exe.");
    EXPECT_EQ(GetWindowTextLengthW(window->Control(ControlId::txtSourcePath)), 0);
    EXPECT_EQ(GetWindowTextLengthW(window->Control(ControlId::lblStatus)), 0);
    // Centred on its monitor's work area, its icon there for Alt+Tab, the example in dark red, and
    // a path box that takes a path longer than it is wide.
    RECT placed{};
    GetWindowRect(Handle(), &placed);
    MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_LE(std::abs(placed.left + placed.right - monitor.rcWork.left - monitor.rcWork.right) +
                  std::abs(placed.top + placed.bottom - monitor.rcWork.top - monitor.rcWork.bottom),
              2);
    EXPECT_NE(0u, GetClassLongPtrW(Handle(), GCLP_HICON));
    for (const ControlId label : {ControlId::lblExample, ControlId::lblDestinationPath}) {
        const HDC context = GetDC(Handle());
        SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                     reinterpret_cast<LPARAM>(window->Control(label)));
        EXPECT_EQ(GetTextColor(context) == RGB(128, 0, 0), label == ControlId::lblExample);
        ReleaseDC(Handle(), context);
    }
    // Windows to the front (one since closed), then this one back: the focus as it was.
    SetFocus(window->Control(ControlId::cmdCancel));
    SendMessageW(Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    const HWND other = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, {}, {}, {}, {});
    SetFocus(other);
    SendMessageW(Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    DestroyWindow(other);
    SetFocus(Handle());
    EXPECT_EQ(GetFocus(), window->Control(ControlId::cmdCancel));
    SetFocus(window->Control(ControlId::txtSourcePath));
    for (int typed = 0; typed < 200; ++typed) {
        SendMessageW(window->Control(ControlId::txtSourcePath), WM_CHAR, L'x', 1);
    }
    EXPECT_EQ(200, GetWindowTextLengthW(window->Control(ControlId::txtSourcePath)));
    EXPECT_EQ(GetFocus(), window->Control(ControlId::txtSourcePath)) << "moved as OK stayed off";
    WriteFile(temporary.Child(L"Program\\Data\\readme.txt"), "data");
    WriteFile(temporary.Child(L"Client\\Tarno.exe"), "");
    MakeFolder(temporary.Child(L"Client\\Common"));
    window->SetSourcePathText(temporary.Text(L"Client\\Tarno.exe"));
    ASSERT_TRUE(IsEnabled(ControlId::cmdOK));
    for (const ControlId next :
         {ControlId::cmdBrowse, ControlId::cmdOK, ControlId::cmdCancel, ControlId::txtSourcePath}) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), window->Control(next)) << static_cast<int>(next);
    }
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    Sleep(200);  // time for a copy's worker to start, had either key started one
    EXPECT_EQ(99, RunLoopUntilIdle());
    EXPECT_EQ(copies, 0);
    EXPECT_TRUE(IsWindow(Handle()) && messages.empty());
    EXPECT_FALSE(ProgressBar().first) << "shown at rest";

    EXPECT_TRUE(IsEnabled(ControlId::lblExample) && IsEnabled(ControlId::lblDestinationPath));
    // OK and Cancel side by side, alike, inside the frame.
    RECT ok{}, cancel{}, frame{};
    GetWindowRect(window->Control(ControlId::cmdOK), &ok);
    GetWindowRect(window->Control(ControlId::cmdCancel), &cancel);
    GetWindowRect(window->Control(ControlId::Frame1), &frame);
    EXPECT_TRUE(ok.top == cancel.top && ok.bottom == cancel.bottom && ok.right < cancel.left &&
                cancel.right - cancel.left == ok.right - ok.left && cancel.right < frame.right);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(CursorOverTheWindow(), LoadCursorW(nullptr, IDC_ARROW)) << "shown busy at rest";
    SetFocus(window->Control(ControlId::cmdOK));
    SetCursorPos((placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2);
    Click(ControlId::cmdOK);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_APPSTARTING)) << "not at once";
    // Nothing measured yet: the bar moves without a share.
    EXPECT_TRUE(
        ProgressBar().first &&
        (GetWindowLongW(window->Control(ControlId::prgCopyProgress), GWL_STYLE) & PBS_MARQUEE));
    EXPECT_TRUE(GetWindowLongW(window->Control(ControlId::txtSourcePath), GWL_STYLE) & ES_READONLY);
    EXPECT_FALSE(IsEnabled(ControlId::cmdOK) || IsEnabled(ControlId::cmdCancel) ||
                 IsEnabled(ControlId::cmdBrowse));
    const HWND focus = GetFocus();
    EXPECT_TRUE(IsChild(Handle(), focus) && IsWindowEnabled(focus))
        << "focus on a disabled control";
    EXPECT_EQ(CursorOverTheWindow(), LoadCursorW(nullptr, IDC_APPSTARTING));
    SendMessageW(Handle(), WM_CLOSE, 0, 0);  // the close box
    EXPECT_TRUE(IsWindow(Handle()));
    EXPECT_EQ(FALSE, SendMessageW(Handle(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(shutdownReason.shown, std::vector<std::wstring>{L"Copying the Vestro data"});
    gate.set_value();
    ASSERT_TRUE(PumpUntil([&] { return messages.size() == 1; }));  // the copy's outcome
    EXPECT_FALSE(ProgressBar().first) << "shown after the copy";
    EXPECT_EQ(CursorOverTheWindow(), LoadCursorW(nullptr, IDC_ARROW)) << "still shown busy";
    EXPECT_EQ(shutdownReason.shown, (std::vector<std::wstring>{L"Copying the Vestro data", L""}));
    EXPECT_EQ(TRUE, SendMessageW(Handle(), WM_QUERYENDSESSION, 0, 0));
    deploy = DeployData;
    Click(ControlId::cmdOK);
    ASSERT_TRUE(PumpUntil([&] { return messages.size() == 2; }));
    EXPECT_EQ(messages,
              (std::vector<std::pair<HWND, HICON>>{{opened, LoadIconW(nullptr, IDI_EXCLAMATION)},
                                                   {opened, LoadIconW(nullptr, IDI_INFORMATION)}}));
    EXPECT_EQ(barAtMessages.back(), (std::pair<bool, LRESULT>{true, 1000}));
}

// 144 DPI is 1.5 times 96: the design's pixels, and 8 pt, the system's message font's size here.
TEST_F(WindowTest, LaysOutAndPicksTheFontForTheMonitorsDpi) {
    window->Open(SW_SHOWNOACTIVATE);
    using Expected = std::tuple<UINT, RECT, RECT, RECT, LONG>;
    for (auto [dpi, client, pathBox, ok, fontHeight] :
         {Expected{96, {0, 0, 559, 144}, {120, 48, 533, 69}, {192, 104, 273, 129}, -11},
          Expected{144, {0, 0, 839, 216}, {180, 72, 800, 104}, {288, 156, 410, 194}, -16}}) {
        RECT placed{};
        GetWindowRect(Handle(), &placed);
        SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&placed));
        // This process is not DPI-aware, so Wine draws the frame at 96: the whole window is
        // compared with the client area and the frame the system gives for the DPI.
        AdjustWindowRectExForDpi(&client, GetWindowLongW(Handle(), GWL_STYLE), FALSE,
                                 GetWindowLongW(Handle(), GWL_EXSTYLE), dpi);
        GetWindowRect(Handle(), &placed);
        EXPECT_EQ(placed.right - placed.left, client.right - client.left);
        EXPECT_EQ(placed.bottom - placed.top, client.bottom - client.top);
        for (const auto& [id, box] :
             {std::pair(ControlId::txtSourcePath, pathBox), std::pair(ControlId::cmdOK, ok)}) {
            GetWindowRect(window->Control(id), &placed);
            MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&placed), 2);
            EXPECT_TRUE(EqualRect(&placed, &box)) << dpi << " " << static_cast<int>(id);
        }
        for (const ControlLayout& control : kLayout) {
            LOGFONTW used{};
            GetObjectW(reinterpret_cast<HFONT>(
                           SendMessageW(window->Control(control.id), WM_GETFONT, 0, 0)),
                       sizeof(used), &used);
            EXPECT_EQ(used.lfHeight, fontHeight) << dpi;
        }
    }
}

// The manifest as xmllite reads it: each element with attributes and each text on a line, its path
// (each name's namespace where it changes), then " name=value ..." or " text".
TEST(ManifestTest, IsWellFormedAndAsksForWhatTheProgramNeeds) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const HMODULE module =
        LoadLibraryExW((std::filesystem::path(self).parent_path() / L"VestroFile.exe").c_str(),
                       nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found = module ? FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    ASSERT_NE(nullptr, found) << "no manifest in a VestroFile.exe beside the tests";
    IStream* stream =
        SHCreateMemStream(static_cast<const BYTE*>(LockResource(LoadResource(module, found))),
                          SizeofResource(module, found));
    FreeLibrary(module);
    using Create = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    IXmlReader* reader = nullptr;
    ASSERT_TRUE(
        create != nullptr && stream != nullptr &&
        SUCCEEDED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr)) &&
        SUCCEEDED(reader->SetInput(stream)));
    std::vector<std::pair<std::wstring, std::wstring>> open{{}};  // each open element's path, space
    std::wstring lines;
    XmlNodeType type{};
    HRESULT read = S_OK;
    const wchar_t* text = nullptr;
    while ((read = reader->Read(&type)) == S_OK) {
        if (type == XmlNodeType_Element) {
            const bool empty = reader->IsEmptyElement();
            reader->GetNamespaceUri(&text, nullptr);
            const std::wstring space = text;
            reader->GetLocalName(&text, nullptr);
            const std::wstring path = open.back().first + L"/" + text +
                                      (open.back().second == space ? L"" : L"{" + space + L"}");
            std::wstring line = path;
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
                 more = reader->MoveToNextAttribute()) {
                reader->GetQualifiedName(&text, nullptr);
                const std::wstring name = text;
                reader->GetValue(&text, nullptr);
                line += name.starts_with(L"xmlns") ? L"" : L" " + name + L"=" + text;
            }
            lines += line == path ? L"" : L"\n" + line;
            open.resize(open.size() + !empty, {path, space});
        } else if (type == XmlNodeType_Text) {
            reader->GetValue(&text, nullptr);
            lines += L"\n" + open.back().first + L" " + text;
        } else if (type == XmlNodeType_EndElement) {
            open.pop_back();
        }
    }
    reader->Release();
    stream->Release();
    EXPECT_EQ(read, S_FALSE) << "not well-formed";
    EXPECT_EQ(lines,
              LR"(
/assembly{urn:schemas-microsoft-com:asm.v1} manifestVersion=1.0
/assembly{urn:schemas-microsoft-com:asm.v1}/assemblyIdentity type=win32 name=Vestro.VestroFile version=1.0.0.0
/assembly{urn:schemas-microsoft-com:asm.v1}/description VestroFile
/assembly{urn:schemas-microsoft-com:asm.v1}/dependency/dependentAssembly/assemblyIdentity type=win32 name=Microsoft.Windows.Common-Controls version=6.0.0.0 processorArchitecture=* publicKeyToken=6595b64144ccf1df language=*
/assembly{urn:schemas-microsoft-com:asm.v1}/trustInfo{urn:schemas-microsoft-com:asm.v3}/security/requestedPrivileges/requestedExecutionLevel level=requireAdministrator uiAccess=false
/assembly{urn:schemas-microsoft-com:asm.v1}/compatibility{urn:schemas-microsoft-com:compatibility.v1}/application/supportedOS Id={e2011457-1546-43c5-a5fe-008deee3d3f0}
/assembly{urn:schemas-microsoft-com:asm.v1}/compatibility{urn:schemas-microsoft-com:compatibility.v1}/application/supportedOS Id={35138b9a-5d96-4fbd-8e2d-a2440225f93a}
/assembly{urn:schemas-microsoft-com:asm.v1}/compatibility{urn:schemas-microsoft-com:compatibility.v1}/application/supportedOS Id={4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}
/assembly{urn:schemas-microsoft-com:asm.v1}/compatibility{urn:schemas-microsoft-com:compatibility.v1}/application/supportedOS Id={1f676c76-80e1-4239-95bb-83d0f6d0da78}
/assembly{urn:schemas-microsoft-com:asm.v1}/compatibility{urn:schemas-microsoft-com:compatibility.v1}/application/supportedOS Id={8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}
/assembly{urn:schemas-microsoft-com:asm.v1}/application{urn:schemas-microsoft-com:asm.v3}/windowsSettings/dpiAware{http://schemas.microsoft.com/SMI/2005/WindowsSettings} true/pm
/assembly{urn:schemas-microsoft-com:asm.v1}/application{urn:schemas-microsoft-com:asm.v3}/windowsSettings/dpiAwareness{http://schemas.microsoft.com/SMI/2016/WindowsSettings} PerMonitorV2
/assembly{urn:schemas-microsoft-com:asm.v1}/application{urn:schemas-microsoft-com:asm.v3}/windowsSettings/longPathAware{http://schemas.microsoft.com/SMI/2016/WindowsSettings} true)");
}

}  // namespace
}  // namespace vestro::testing
