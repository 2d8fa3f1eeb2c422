#pragma once

#include <windows.h>

#include <string>

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

}  // namespace vestro
