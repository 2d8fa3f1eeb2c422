#pragma once

#include <windows.h>

#include <string>

namespace vestro {

// Text from a Win32 call that writes into a caller's buffer and, when it is too small, answers
// with the length it needs (terminating zero included); 0 is a failure, read by GetLastError.
// A call that only says its buffer was too small is given a larger one, up to the longest path.
struct SizedText {
    std::wstring text;
    DWORD error = ERROR_SUCCESS;
};

// The longest path Windows takes, terminating zero included.
inline constexpr DWORD kLongestPath = 32'768;

template <typename Read>
SizedText ReadSizedText(const Read& read) {
    SizedText result;
    DWORD capacity = MAX_PATH;
    for (;;) {
        result.text.resize(capacity);
        const DWORD length = read(result.text.data(), capacity);
        if (length == 0) {
            const DWORD error = GetLastError();
            if ((error != ERROR_MORE_DATA && error != ERROR_INSUFFICIENT_BUFFER) ||
                capacity >= kLongestPath) {
                result.error = error;
                return result;
            }
            capacity *= 2;
            continue;
        }
        if (length < capacity) {
            result.text.resize(length);
            return result;
        }
        capacity = length;
    }
}

}  // namespace vestro
