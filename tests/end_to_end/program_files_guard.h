#pragma once

#include <string>
#include <vector>

namespace vestro::end_to_end {

// The two folders the program probes for Tarno.exe.
inline constexpr wchar_t kCandidate1Folder[] = L"C:\\Program Files\\Tarno";
inline constexpr wchar_t kCandidate2Folder[] = L"C:\\Program Files (x86)\\Tarno";

// Gives a scenario both candidate folders to itself: an install found there is set aside for the
// scenario's time and put back afterwards; what the scenario installs there is removed. An
// install set aside by a run that was killed is put back first.
class ProgramFilesGuard {
  public:
    ProgramFilesGuard();
    ~ProgramFilesGuard();
    ProgramFilesGuard(const ProgramFilesGuard&) = delete;
    ProgramFilesGuard& operator=(const ProgramFilesGuard&) = delete;

  private:
    std::vector<std::wstring> setAside_;
};

}  // namespace vestro::end_to_end
