#pragma once

#include <windows.h>

#include "file_system/hold_wait.h"

namespace vestro {

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

}  // namespace vestro
