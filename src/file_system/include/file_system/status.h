#pragma once

#include <string>
#include <system_error>

namespace vestro {

// Outcome of a file-system operation. A failure keeps the platform's error code and a sentence
// for the user that names the operation, the path and the reason.
struct Status {
    std::error_code error;
    std::wstring description;

    bool Failed() const noexcept { return static_cast<bool>(error); }

    static Status Success() { return {}; }
    static Status Failure(std::error_code error, std::wstring description) {
        return {error, std::move(description)};
    }
};

// Answer of an existence probe; a probe fails only when the question cannot be asked at all.
struct ExistsResult {
    bool exists = false;
    Status status;
};

}  // namespace vestro
