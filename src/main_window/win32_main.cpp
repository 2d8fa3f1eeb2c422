#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "deployment/program_folder.h"
#include "file_system/file_system.h"
#include "main_window/user_texts.h"
#include "main_window/win32_main_window.h"

namespace {

// The window's thread is a single-threaded COM apartment, for the taskbar button's progress.
// Outlives the window, which releases its COM objects when it goes.
class ComApartment {
  public:
    ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (started_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool started_;
};

// Windows 11 22H2 and later can refuse to follow junctions that a non-administrator made; where the
// system lacks the policy the call fails and the copy's own checks stand alone.
void TrustOnlyAdministratorsRedirections() {
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
    policy.EnforceRedirectionTrust = 1;
    SetProcessMitigationPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof(policy));
}

}  // namespace

// The program's start: opens frmVestroFile and ends when it closes. It reads no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Elevated, from a folder others may write to: every library the system loads for us from
    // here on (the file dialog's, the shell's) comes from System32, never from beside the exe.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    TrustOnlyAdministratorsRedirections();
    INITCOMMONCONTROLSEX commonControls{};
    commonControls.dwSize = sizeof(commonControls);
    commonControls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&commonControls);
    const ComApartment apartment;

    vestro::Win32MainWindow frmVestroFile(vestro::CreateFileSystem, vestro::ProgramFolder());
    const vestro::Status created = frmVestroFile.Create(instance);
    if (created.Failed()) {
        MessageBoxW(nullptr, created.description.c_str(), vestro::kApplicationTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    frmVestroFile.Open(showCommand);
    // A copy still running when the loop ends is waited for as the window goes.
    return vestro::RunMessageLoop(frmVestroFile.Handle());
}
