#pragma once

#include <optional>
#include <string>

namespace vestro {

// The platform's file-open dialog, configured the way the browse action needs it.
class FileDialog {
  public:
    enum class Outcome { Chosen, Cancelled };

    struct Result {
        Outcome outcome = Outcome::Cancelled;
        std::wstring fileName;  // full path of the chosen file when Chosen
    };

    virtual ~FileDialog() = default;

    virtual void SetFileName(const std::wstring& fileName) = 0;
    // A cancel is reported as a failure of its own kind instead of as an empty result.
    virtual void SetCancelError(bool cancelError) = 0;
    // "description|pattern" pairs separated by bars.
    virtual void SetFilter(const std::wstring& filter) = 0;
    virtual void SetFlags(unsigned long flags) = 0;
    virtual Result ShowOpen() = 0;
};

}  // namespace vestro
