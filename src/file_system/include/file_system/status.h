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

// A value, or the failure that kept it from being had (the value then stays as it was made).
template <typename Value>
struct Result {
    Value value{};
    Status status;

    bool Failed() const noexcept { return status.Failed(); }
};

}  // namespace vestro
