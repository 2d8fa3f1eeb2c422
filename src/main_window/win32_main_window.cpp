#include "main_window/win32_main_window.h"

#include <commctrl.h>

#include <functional>
#include <utility>

#include "file_system/win32_error_text.h"
#include "main_window/user_texts.h"
#include "resource_ids.h"

namespace vestro {
namespace {

constexpr wchar_t kWindowClassName[] = L"VestroFile.frmVestroFile";
// Fixed border: the layout is drawn for exactly this client area.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The program's own decision to close, as opposed to WM_CLOSE, which asks.
constexpr UINT kCloseMessage = WM_APP + 1;
// From the copy's worker: the share copied in thousandths (wParam), and the copy's end.
constexpr UINT kCopyProgressMessage = WM_APP + 2;
constexpr UINT kCopyFinishedMessage = WM_APP + 3;

struct Command {
    ControlId id;
    int notification;
    void (MainWindowBehaviour::*handler)();
};
constexpr Command kCommands[] = {
    {ControlId::txtSourcePath, EN_CHANGE, &MainWindowBehaviour::CheckSourcePath},
    {ControlId::cmdOK, BN_CLICKED, &MainWindowBehaviour::OnOKClick},
    {ControlId::cmdBrowse, BN_CLICKED, &MainWindowBehaviour::OnBrowseClick},
    {ControlId::cmdCancel, BN_CLICKED, &MainWindowBehaviour::OnCancelClick},
};

HICON LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VESTROFILE), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

class SystemReason final : public ShutdownReason {
  public:
    void Show(HWND window, const wchar_t* reason) override {
        ShutdownBlockReasonCreate(window, reason);
    }
    void Remove(HWND window) override { ShutdownBlockReasonDestroy(window); }
};

// Answers the thread's window messages (the end of the session among them) until done says so.
void PumpMessagesUntil(const std::function<bool()>& done) {
    constexpr DWORD kLookEveryMilliseconds = 50;
    while (!done()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, kLookEveryMilliseconds, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

ShutdownReason& SystemShutdownReason() {
    static SystemReason reason;
    return reason;
}

int RunMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(window) && IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

Win32MainWindow::Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder)
    : shutdownReason_(SystemShutdownReason()),
      behaviour_(*this, std::move(createFileSystem), std::move(programFolder), openFileDialog_) {}

Win32MainWindow::Win32MainWindow(FileSystemFactory createFileSystem, std::wstring programFolder,
                                 FileDialog& fileDialog, Deployment deploy,
                                 ShutdownReason& shutdownReason)
    : shutdownReason_(shutdownReason),
      behaviour_(*this, std::move(createFileSystem), std::move(programFolder), fileDialog,
                 std::move(deploy)) {}

Win32MainWindow::~Win32MainWindow() {
    // While the behaviour is still there for OnDestroy.
    DestroyOwnWindow();
}

Status Win32MainWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClassName;
    windowClass.hIcon = LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
    if (!RegisterWindowClass(windowClass)) {
        return Win32Failure(GetLastError(), kWindowClassNotRegistered);
    }
    if (!CreateOwnWindow(instance, kWindowClassName, kFormCaption, kWindowStyle)) {
        return creationFailure_.Failed() ? creationFailure_
                                         : Win32Failure(GetLastError(), kWindowNotCreated);
    }
    openFileDialog_.SetOwner(Handle());
    return Status::Success();
}

void Win32MainWindow::Open(int showCommand) {
    RunHandler(&MainWindowBehaviour::OnLoad);
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

std::wstring Win32MainWindow::SourcePathText() const {
    const HWND box = Control(ControlId::txtSourcePath);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32MainWindow::SetSourcePathText(const std::wstring& text) {
    // The edit control answers with EN_CHANGE, which runs the path check as typing does.
    SetWindowTextW(Control(ControlId::txtSourcePath), text.c_str());
}

void Win32MainWindow::SetSourcePathReadOnly(bool readOnly) {
    SendMessageW(Control(ControlId::txtSourcePath), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32MainWindow::EnableOK(bool enabled) {
    EnableControl(ControlId::cmdOK, enabled);
}

void Win32MainWindow::EnableCancel(bool enabled) {
    EnableControl(ControlId::cmdCancel, enabled);
}

void Win32MainWindow::EnableBrowse(bool enabled) {
    EnableControl(ControlId::cmdBrowse, enabled);
}

void Win32MainWindow::SetStatusText(const std::wstring& text) {
    SetWindowTextW(Control(ControlId::lblStatus), text.c_str());
}

void Win32MainWindow::ShowCopyInProgress(bool shown) {
    copyShownInProgress_ = shown;
    const HWND bar = Control(ControlId::prgCopyProgress);
    if (shown) {
        // Until the first share arrives the data is being measured.
        SetProgressBarMarquee(true);
        taskbarProgress_.ShowUnknownShare(Handle());
    } else {
        taskbarProgress_.Clear(Handle());
    }
    ShowWindow(bar, shown ? SW_SHOWNA : SW_HIDE);
    if (!shown && shutdownReasonShown_) {
        shutdownReasonShown_ = false;
        shutdownReason_.Remove(Handle());
    }
    // The pointer changes at once if it is over the window, not only at its next move.
    POINT pointer{};
    if (GetCursorPos(&pointer)) {
        const HWND under = WindowFromPoint(pointer);
        if (under == Handle() || IsChild(Handle(), under)) {
            SetCursor(LoadCursorW(nullptr, shown ? IDC_APPSTARTING : IDC_ARROW));
        }
    }
}

void Win32MainWindow::ShowMessage(const std::wstring& text, MessageIcon icon) {
    MessageBoxW(Handle(), text.c_str(), kApplicationTitle, MB_OK | static_cast<UINT>(icon));
}

void Win32MainWindow::Close() {
    PostMessageW(Handle(), kCloseMessage, 0, 0);
}

void Win32MainWindow::PostCopyProgress(unsigned permille) {
    PostMessageW(Handle(), kCopyProgressMessage, permille, 0);
}

void Win32MainWindow::PostCopyFinished() {
    PostMessageW(Handle(), kCopyFinishedMessage, 0, 0);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor(LOWORD(lParam))) {
                return TRUE;
            }
            break;
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            break;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_DPICHANGED: {
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            form_.Rescale(LOWORD(wParam), POINT{suggested.left, suggested.top});
            return 0;
        }
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession() ? TRUE : FALSE;
        case kCloseMessage:
            DestroyWhenIdle();
            return 0;
        case kCopyProgressMessage:
            OnCopyProgress(static_cast<unsigned>(wParam));
            return 0;
        case kCopyFinishedMessage:
            RunHandler(&MainWindowBehaviour::OnCopyFinished);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

bool Win32MainWindow::OnCreate() {
    creationFailure_ = form_.Create(Handle());
    return !creationFailure_.Failed();
}

void Win32MainWindow::OnCommand(int id, int notification) {
    // A disabled button means nothing, even when a click of it arrives by message.
    if (notification == BN_CLICKED && !IsWindowEnabled(Control(static_cast<ControlId>(id)))) {
        return;
    }
    // IDOK and IDCANCEL, which Enter and Escape produce, have no row: they mean nothing.
    for (const Command& command : kCommands) {
        if (static_cast<int>(command.id) == id && command.notification == notification) {
            RunHandler(command.handler);
        }
    }
}

LRESULT Win32MainWindow::OnControlColour(HDC context, HWND control) {
    const int id = GetDlgCtrlID(control);
    for (const ControlLayout& layout : kLayout) {
        if (static_cast<int>(layout.id) == id && layout.textColour != kPlatformTextColour) {
            SetTextColor(context, layout.textColour);
        }
    }
    SetBkColor(context, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool Win32MainWindow::OnSetCursor(int hitTest) {
    if (!copyShownInProgress_ || hitTest != HTCLIENT) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return true;
}

void Win32MainWindow::OnActivate(bool active) {
    // Dialog manners: the control that had the focus gets it back when the window returns.
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) {
            focusToRestore_ = focus;
        }
    }
}

void Win32MainWindow::OnSetFocus() {
    const bool canRestore = focusToRestore_ != nullptr && IsWindowEnabled(focusToRestore_);
    SetFocus(canRestore ? focusToRestore_ : Control(ControlId::txtSourcePath));
}

void Win32MainWindow::OnClose() {
    if (!behaviour_.OnCloseRequest()) {
        return;
    }
    DestroyWhenIdle();
}

void Win32MainWindow::OnCopyProgress(unsigned permille) {
    if (!copyShownInProgress_) {
        return;
    }
    SetProgressBarMarquee(false);
    SendMessageW(Control(ControlId::prgCopyProgress), PBM_SETPOS, permille, 0);
    taskbarProgress_.Show(Handle(), permille);
}

// A copy that is cut off leaves the old data whole, but the user may rather let it finish:
// Windows names the reason and asks.
bool Win32MainWindow::OnQueryEndSession() {
    if (!copyShownInProgress_) {
        return true;
    }
    if (!shutdownReasonShown_) {
        shutdownReasonShown_ = true;
        shutdownReason_.Show(Handle(), kShutdownWaitsForCopy);
    }
    return false;
}

void Win32MainWindow::OnDestroy() {
    // The removal of old data may still run, its waits for held items bounded: the window leaves
    // the screen before the wait, and goes on answering, a sign-out included.
    destroying_ = true;
    ShowWindow(Handle(), SW_HIDE);
    PumpMessagesUntil([this] { return !behaviour_.CopyStillRuns(); });
    behaviour_.OnUnload();
    PostQuitMessage(0);
}

void Win32MainWindow::SetProgressBarMarquee(bool marquee) {
    // A bar draws as a marquee only with the style, and moves only while told to.
    const HWND bar = Control(ControlId::prgCopyProgress);
    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    if (((style & PBS_MARQUEE) != 0) != marquee) {
        SetWindowLongPtrW(bar, GWL_STYLE, marquee ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        SendMessageW(bar, PBM_SETMARQUEE, marquee ? TRUE : FALSE, 0);
    }
}

void Win32MainWindow::EnableControl(ControlId id, bool enabled) {
    const HWND control = Control(id);
    // A disabled control keeps no focus: the keyboard would be stuck on it.
    if (!enabled && GetFocus() == control) {
        SetFocus(GetNextDlgTabItem(Handle(), control, FALSE));
    }
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32MainWindow::RunHandler(void (MainWindowBehaviour::*handler)()) {
    ++handlersRunning_;
    (behaviour_.*handler)();
    --handlersRunning_;
    if (handlersRunning_ == 0 && closeWhenIdle_) {
        closeWhenIdle_ = false;
        PostMessageW(Handle(), kCloseMessage, 0, 0);
    }
}

void Win32MainWindow::DestroyWhenIdle() {
    if (destroying_) {
        return;
    }
    // Never destroy the window under a running handler: it would go on with a dead window.
    if (handlersRunning_ > 0) {
        closeWhenIdle_ = true;
        return;
    }
    DestroyOwnWindow();
}

}  // namespace vestro
