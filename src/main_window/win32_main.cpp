#include <windows.h>

#include <commctrl.h>

#include "deployment/program_folder.h"
#include "file_system/file_system.h"
#include "main_window/win32_main_window.h"
#include "main_window/win32_message_pump.h"
#include "main_window/window.h"

// The program's start: opens frmVestroFile and ends when it closes. It reads no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX commonControls{};
    commonControls.dwSize = sizeof(commonControls);
    commonControls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&commonControls);

    vestro::Win32MainWindow frmVestroFile(vestro::CreateFileSystem, vestro::ProgramFolder());
    const vestro::Status created = frmVestroFile.Create(instance);
    if (created.Failed()) {
        MessageBoxW(nullptr, created.description.c_str(), vestro::kApplicationTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    frmVestroFile.Open(showCommand);
    return vestro::RunMessageLoop(frmVestroFile.Handle());
}
