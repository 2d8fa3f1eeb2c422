#pragma once

// Every text the program itself puts in front of the user, in one place. Descriptions of failed
// file-system operations come from the layer that failed and follow "Error: ".
namespace vestro {

// Caption of every message the program shows.
inline constexpr wchar_t kApplicationTitle[] = L"VestroFile";

// frmVestroFile and the design-time texts of its controls.
inline constexpr wchar_t kFormCaption[] = L"Copy Vestro Files";
inline constexpr wchar_t kExampleText[] =
    L"If the destination path is empty then select the path where the Tarno.exe is located. "
    L"Example:  C:\\Program Files\\Tarno\\Tarno.exe.";
inline constexpr wchar_t kDestinationPathCaption[] = L"Destination Path:";
inline constexpr wchar_t kBrowseCaption[] = L"Browse...";
inline constexpr wchar_t kOKCaption[] = L"OK";
inline constexpr wchar_t kCancelCaption[] = L"Cancel";
inline constexpr wchar_t kStatusDesignText[] = L"lblStatus";

// The status line while a copy runs. It stays after a failure.
inline constexpr wchar_t kCopyingStatus[] = L"Copying Files.  Please Wait...";

// What Windows shows when a sign-out or shutdown waits for a copy.
inline constexpr wchar_t kShutdownWaitsForCopy[] = L"Copying the Vestro data";

// Messages. A failure message is its prefix, kErrorLead and the failure's description.
inline constexpr wchar_t kErrorLead[] = L"Error: ";
inline constexpr wchar_t kLoadFailedPrefix[] =
    L"An error has occurred while trying to find the VORIN install directory.  ";
inline constexpr wchar_t kCopyFailedPrefix[] =
    L"An error has occurred while trying to copy files.  ";
inline constexpr wchar_t kCommonNotFoundSuffix[] =
    L" not found.  Files have not been successfully copied.";
inline constexpr wchar_t kCopySucceededMessage[] = L"Files have been successfully copied.";

// Failures the window meets itself.
inline constexpr wchar_t kFileSystemNotStarted[] =
    L"The file-system services could not be started.";
inline constexpr wchar_t kFileSystemUnavailable[] = L"The file-system services are not available.";
inline constexpr wchar_t kProgramFolderUnknown[] =
    L"The folder that holds VestroFile.exe could not be found.";
inline constexpr wchar_t kWindowClassNotRegistered[] = L"Could not register the window class";
inline constexpr wchar_t kWindowNotCreated[] = L"Could not create the window";
inline constexpr wchar_t kControlsNotCreated[] = L"Could not create the controls";

}  // namespace vestro
