#pragma once

#include <functional>
#include <string>

#include "file_tree.h"
#include "running_program.h"
#include "vestro_window.h"

namespace vestro::end_to_end {

inline constexpr wchar_t kCopyingStatus[] = L"Copying Files.  Please Wait...";
inline constexpr wchar_t kCopySucceeded[] = L"Files have been successfully copied.";
inline constexpr wchar_t kCopyFailedPrefix[] =
    L"An error has occurred while trying to copy files.  Error: ";
inline constexpr wchar_t kCommonNotFoundSuffix[] =
    L" not found.  Files have not been successfully copied.";

// Clicks OK and expects success: the information message over the busy window; once it is
// dismissed the program ends with exit code 0. queuedBehindClick, if given, runs right after the
// click, so what it sends reaches the window while the copy runs.
void RequireCopySucceeds(const VestroWindow& window, const RunningProgram& program,
                         const std::function<void()>& queuedBehindClick = {});

// Where a failing copy stops: before it began (the buttons were never disabled and the status
// line kept its text), or once it had begun.
enum class FailureStage { BeforeCopying, WhileCopying };

// Clicks OK and expects the copy-failure message with the exclamation icon; once it is dismissed
// the window is ready for another try and still shows statusAfter. Returns the message.
std::wstring RequireCopyFails(const VestroWindow& window, const RunningProgram& program,
                              FailureStage stage, const std::wstring& statusBefore);

// Clicks OK and expects the message that Common was not found, naming commonFolder; nothing else
// changes and the window stays open.
void RequireCommonNotFound(const VestroWindow& window, const RunningProgram& program,
                           const std::wstring& commonFolder, const std::wstring& status);

// A client install after a copy: as before, with Common\VestroData holding exactly the data.
FileTree AfterCopy(const FileTree& clientBefore, const FileTree& data);

}  // namespace vestro::end_to_end
