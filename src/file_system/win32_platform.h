#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "file_system/hold_wait.h"
#include "file_system/holder_naming.h"
#include "file_system/status.h"
#include "file_system/win32_owned_handle.h"
#include "platform.h"

// What the Win32 side of the file system shares among its own files.
namespace vestro {

// Text from a Win32 call that writes into a caller's buffer and, when it is too small, answers
// with the length it needs (terminating zero included); 0 is a failure, read by GetLastError.
struct SizedText {
    std::wstring text;
    DWORD error = ERROR_SUCCESS;
};

template <typename Read>
SizedText ReadSizedText(const Read& read) {
    SizedText result;
    DWORD capacity = MAX_PATH;
    for (;;) {
        result.text.resize(capacity);
        const DWORD length = read(result.text.data(), capacity);
        if (length == 0) {
            result.error = GetLastError();
            return result;
        }
        if (length < capacity) {
            result.text.resize(length);
            return result;
        }
        capacity = length;
    }
}

// Errors another program's hold on an item causes, which go once it lets go.
inline bool IsHoldError(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

// Removing a folder also meets items deleted but still open elsewhere, which stay until closed.
inline bool IsHoldErrorOfFolderRemoval(DWORD error) {
    return IsHoldError(error) || error == ERROR_DIR_NOT_EMPTY;
}

// A Win32 call answering with a BOOL, made while it fails with a hold: ERROR_SUCCESS or the
// last error.
template <typename Call, typename IsHeld>
DWORD CallWhileHeld(const HoldWait& wait, Call&& call, IsHeld&& isHeld) {
    return RetryWhileHeld(
        wait, [&call]() -> DWORD { return call() ? ERROR_SUCCESS : GetLastError(); }, isHeld);
}

template <typename Call>
DWORD CallWhileHeld(const HoldWait& wait, Call&& call) {
    return CallWhileHeld(wait, call, IsHoldError);
}

// The system's Restart Manager; without its library it offers no session.
std::unique_ptr<RestartManager> CreateSystemRestartManager();

// Win32Failure; for a hold that outlasted the wait, the description also names the programs
// that hold the files (extended-length paths), as far as the Restart Manager tells.
Status Win32HeldItemFailure(DWORD error, const std::wstring& action,
                            const std::vector<std::wstring>& systemFiles);

// The files of a folder's tree, up to a bound: a folder is held through the files open inside.
std::vector<std::wstring> FilesBelow(const std::wstring& systemFolder);

// Where an open item lies as the system reached it: the serial number of its volume and its
// path on that volume, read whatever its length. Wine's final-path call gives up at about 300
// characters; this one does not, and it too shows where a Unix link to a file leads.
DWORD ReadPlace(HANDLE item, Place& place);
// The same for an entry of the folder opened as itself, never through a link: it lies on the
// folder's volume, so only its path is read back. (Asking a volume its serial number takes Wine
// over half a millisecond.)
DWORD ReadPlaceInFolder(HANDLE entry, const Place& folder, Place& place);
// The same for the item at the path, links followed.
DWORD ReadPlaceOfPath(const std::wstring& systemPath, Place& place);
// Letter case aside, as Windows compares names.
bool IsSamePlace(const Place& left, const Place& right);

// A folder entry that stands for another folder: a symbolic link, junction or mount point
// ("name surrogate" reparse points). Other reparse points, such as cloud-file placeholders, are
// ordinary folders with content. Wine shows a Unix symbolic link as a reparse point without a
// tag; it counts as a link too, so that it is never entered while deleting.
inline bool IsLinkedFolder(DWORD attributes, DWORD reparseTag) {
    const DWORD linkedFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & linkedFolder) == linkedFolder &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

// A listing's entry holds a reparse point's tag where other entries hold the size of their
// extended attributes.
inline DWORD ReparseTagOfEntry(DWORD attributes, DWORD eaSize) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? eaSize : 0;
}

// A file listed plain and opened as itself is read as it is only if it is still no reparse point:
// a dedup or cloud file may have become one since, and its data lies behind it.
inline bool StillAsListed(DWORD listed, DWORD opened) {
    return ((listed | opened) & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// A link to a folder, or on Windows a link to a file; under Wine a Unix link to a file has no
// mark and is seen as the file it points to.
inline ItemKind KindOf(DWORD attributes, DWORD reparseTag) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return IsLinkedFolder(attributes, reparseTag) ? ItemKind::FolderLink : ItemKind::Folder;
    }
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparseTag)
               ? ItemKind::OtherLink
               : ItemKind::File;
}

}  // namespace vestro
