#include "main_window/win32_main_window.h"

#include <commctrl.h>

#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "client_location/install_detection.h"
#include "file_system/win32_error_text.h"
#include "main_window/user_texts.h"
#include "main_window/win32_font_choice.h"
#include "main_window/win32_message_pump.h"
#include "resource_ids.h"

namespace vestro {
namespace {

constexpr wchar_t kWindowClassName[] = L"VestroFile.frmVestroFile";
// Fixed border: the layout is drawn for exactly this client area.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExtendedStyle = 0;
// The program's own decision to close, as opposed to WM_CLOSE, which asks.
constexpr UINT kCloseMessage = WM_APP + 1;
// From the copy's worker: the share copied in thousandths (wParam), and the copy's end.
constexpr UINT kCopyProgressMessage = WM_APP + 2;
constexpr UINT kCopyFinishedMessage = WM_APP + 3;
// The progress bar counts in thousandths, as the posts do.
constexpr int kProgressWhole = 1000;

// Room the controls' own borders and margins take from their text, at 96 DPI.
constexpr SIZE kTextBoxInset{8, 4};
constexpr SIZE kButtonInset{8, 6};

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClassName;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VESTROFILE),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VESTROFILE),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
    }
    return {L"STATIC", 0, 0};
}

SIZE Shrunk(const RECT& box, SIZE inset, UINT dpi) {
    const int scale = static_cast<int>(dpi);
    return SIZE{box.right - box.left - MulDiv(inset.cx, scale, USER_DEFAULT_SCREEN_DPI),
                box.bottom - box.top - MulDiv(inset.cy, scale, USER_DEFAULT_SCREEN_DPI)};
}

// Every text each control shows, at design time or later, with the room it has for it.
std::vector<TextRoom> TextRooms(UINT dpi) {
    std::vector<TextRoom> rooms;
    for (const ControlLayout& control : kLayout) {
        const RECT box = ControlRectangle(control, dpi);
        switch (control.kind) {
            case ControlKind::Frame:
            case ControlKind::ProgressBar:
                break;
            case ControlKind::Label:
                rooms.push_back({control.designText, Shrunk(box, {0, 0}, dpi), true});
                break;
            case ControlKind::TextBox:
                // The longer of the paths the install detection fills in.
                rooms.push_back(
                    {kInstallCandidates.back(), Shrunk(box, kTextBoxInset, dpi), false});
                break;
            case ControlKind::Button:
                rooms.push_back({control.designText, Shrunk(box, kButtonInset, dpi), false});
                break;
        }
    }
    const RECT status = ControlRectangle(LayoutOf(ControlId::lblStatus), dpi);
    rooms.push_back({kCopyingStatus, Shrunk(status, {0, 0}, dpi), true});
    return rooms;
}

RECT CentredOn(HMONITOR monitor, SIZE size) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    const int left = area.left + (area.right - area.left - size.cx) / 2;
    const int top = area.top + (area.bottom - area.top - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
}

}  // namespace

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
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

Status Win32MainWindow::Create(HINSTANCE instance) {
    if (!RegisterWindowClass(instance, WindowProcedure)) {
        return Win32Failure(GetLastError(), kWindowClassNotRegistered);
    }
    const HWND created =
        CreateWindowExW(kWindowExtendedStyle, kWindowClassName, kFormCaption, kWindowStyle,
                        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (created == nullptr) {
        return creationFailure_.Failed() ? creationFailure_
                                         : Win32Failure(GetLastError(), kWindowNotCreated);
    }
    openFileDialog_.SetOwner(window_);
    return Status::Success();
}

void Win32MainWindow::Open(int showCommand) {
    RunHandler(&MainWindowBehaviour::OnLoad);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

HWND Win32MainWindow::Control(ControlId id) const {
    return GetDlgItem(window_, static_cast<int>(id));
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
        taskbarProgress_.ShowUnknownShare(window_);
    } else {
        taskbarProgress_.Clear(window_);
    }
    ShowWindow(bar, shown ? SW_SHOWNA : SW_HIDE);
    if (!shown && shutdownReasonShown_) {
        shutdownReasonShown_ = false;
        shutdownReason_.Remove(window_);
    }
    // The pointer changes at once if it is over the window, not only at its next move.
    POINT pointer{};
    if (GetCursorPos(&pointer)) {
        const HWND under = WindowFromPoint(pointer);
        if (under == window_ || IsChild(window_, under)) {
            SetCursor(LoadCursorW(nullptr, shown ? IDC_APPSTARTING : IDC_ARROW));
        }
    }
}

void Win32MainWindow::ShowMessage(const std::wstring& text, MessageIcon icon) {
    MessageBoxW(window_, text.c_str(), kApplicationTitle, MB_OK | static_cast<UINT>(icon));
}

void Win32MainWindow::Close() {
    PostMessageW(window_, kCloseMessage, 0, 0);
}

void Win32MainWindow::PostCopyProgress(unsigned permille) {
    PostMessageW(window_, kCopyProgressMessage, permille, 0);
}

void Win32MainWindow::PostCopyFinished() {
    PostMessageW(window_, kCopyFinishedMessage, 0, 0);
}

LRESULT CALLBACK Win32MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
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
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
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
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool Win32MainWindow::OnCreate() {
    dpi_ = GetDpiForWindow(window_);
    if (!CreateControls()) {
        return false;
    }
    ApplyFont();
    PlaceControls();
    SizeWindow(std::nullopt);
    return true;
}

void Win32MainWindow::OnCommand(int id, int notification) {
    // A disabled button means nothing, even when a click of it arrives by message.
    if (notification == BN_CLICKED && !IsWindowEnabled(Control(static_cast<ControlId>(id)))) {
        return;
    }
    switch (static_cast<ControlId>(id)) {
        case ControlId::txtSourcePath:
            if (notification == EN_CHANGE) {
                RunHandler(&MainWindowBehaviour::CheckSourcePath);
            }
            break;
        case ControlId::cmdOK:
            if (notification == BN_CLICKED) {
                RunHandler(&MainWindowBehaviour::OnOKClick);
            }
            break;
        case ControlId::cmdBrowse:
            if (notification == BN_CLICKED) {
                RunHandler(&MainWindowBehaviour::OnBrowseClick);
            }
            break;
        case ControlId::cmdCancel:
            if (notification == BN_CLICKED) {
                RunHandler(&MainWindowBehaviour::OnCancelClick);
            }
            break;
        default:
            // IDOK and IDCANCEL, which Enter and Escape produce, end here: they mean nothing.
            break;
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
        if (focus != nullptr && IsChild(window_, focus)) {
            focusToRestore_ = focus;
        }
    }
}

void Win32MainWindow::OnSetFocus() {
    const bool canRestore = focusToRestore_ != nullptr && IsWindowEnabled(focusToRestore_);
    SetFocus(canRestore ? focusToRestore_ : Control(ControlId::txtSourcePath));
}

void Win32MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    ApplyFont();
    PlaceControls();
    SizeWindow(POINT{suggested.left, suggested.top});
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
    taskbarProgress_.Show(window_, permille);
}

// A copy that is cut off leaves the old data whole, but the user may rather let it finish:
// Windows names the reason and asks.
bool Win32MainWindow::OnQueryEndSession() {
    if (!copyShownInProgress_) {
        return true;
    }
    if (!shutdownReasonShown_) {
        shutdownReasonShown_ = true;
        shutdownReason_.Show(window_, kShutdownWaitsForCopy);
    }
    return false;
}

void Win32MainWindow::OnDestroy() {
    // The removal of old data may still run, its waits for held items bounded: the window leaves
    // the screen before the wait, and goes on answering, a sign-out included.
    destroying_ = true;
    ShowWindow(window_, SW_HIDE);
    PumpMessagesUntil([this] { return !behaviour_.CopyStillRuns(); });
    behaviour_.OnUnload();
    PostQuitMessage(0);
}

bool Win32MainWindow::CreateControls() {
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    // Creation order is the tab order.
    for (int tabIndex = 0; tabIndex < static_cast<int>(std::size(kLayout)); ++tabIndex) {
        for (const ControlLayout& control : kLayout) {
            if (control.tabIndex != tabIndex) {
                continue;
            }
            if (!CreateControl(instance, control, WS_VISIBLE)) {
                return false;
            }
        }
    }
    // Hidden until a copy runs.
    if (!CreateControl(instance, kCopyProgressLayout, 0)) {
        return false;
    }
    SendMessageW(Control(ControlId::prgCopyProgress), PBM_SETRANGE32, 0, kProgressWhole);
    // Frame1 holds the others, so it is drawn first and, clipped by them, never paints over them.
    SetWindowPos(Control(ControlId::Frame1), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool Win32MainWindow::CreateControl(HINSTANCE instance, const ControlLayout& control,
                                    DWORD visibility) {
    const ControlClass kind = ClassOf(control.kind);
    const DWORD style =
        WS_CHILD | visibility | WS_CLIPSIBLINGS | kind.style | (control.enabled ? 0 : WS_DISABLED);
    const HWND created = CreateWindowExW(
        kind.extendedStyle, kind.name, control.designText, style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    if (created == nullptr) {
        creationFailure_ = Win32Failure(GetLastError(), kControlsNotCreated);
        return false;
    }
    return true;
}

void Win32MainWindow::SizeWindow(std::optional<POINT> topLeft) {
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi_),
               TwipsToPixels(kClientHeightTwips, dpi_)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExtendedStyle, dpi_);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    if (!topLeft) {
        const RECT centred = CentredOn(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), size);
        topLeft = POINT{centred.left, centred.top};
    }
    SetWindowPos(window_, nullptr, topLeft->x, topLeft->y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::PlaceControls() {
    for (const ControlLayout& control : kLayout) {
        PlaceControl(control);
    }
    PlaceControl(kCopyProgressLayout);
}

void Win32MainWindow::PlaceControl(const ControlLayout& control) {
    const RECT box = ControlRectangle(control, dpi_);
    MoveWindow(Control(control.id), box.left, box.top, box.right - box.left, box.bottom - box.top,
               TRUE);
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

void Win32MainWindow::ApplyFont() {
    const LOGFONTW chosen = ChooseFittingFont(TextRooms(dpi_), dpi_);
    const HFONT font = CreateFontIndirectW(&chosen);
    if (font == nullptr) {
        return;
    }
    for (const ControlLayout& control : kLayout) {
        SendMessageW(Control(control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
}

void Win32MainWindow::EnableControl(ControlId id, bool enabled) {
    const HWND control = Control(id);
    // A disabled control keeps no focus: the keyboard would be stuck on it.
    if (!enabled && GetFocus() == control) {
        SetFocus(GetNextDlgTabItem(window_, control, FALSE));
    }
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32MainWindow::RunHandler(void (MainWindowBehaviour::*handler)()) {
    ++handlersRunning_;
    (behaviour_.*handler)();
    --handlersRunning_;
    if (handlersRunning_ == 0 && closeWhenIdle_) {
        closeWhenIdle_ = false;
        PostMessageW(window_, kCloseMessage, 0, 0);
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
    DestroyWindow(window_);
}

}  // namespace vestro
