#pragma once

#include <optional>
#include <string>

#include "data_outcome.h"
#include "file_tree.h"
#include "running_program.h"

namespace vestro::end_to_end {

// Where all scenarios lay out their files, one folder each.
inline constexpr wchar_t kScenariosRoot[] = L"C:\\vestro-e2e";

// What a scenario works with: its own fresh folder, the VestroFile.exe under test, and the
// figures it adds to the suite's reliability line.
class ScenarioContext {
  public:
    // builtProgram: the VestroFile.exe the build made; scenarios run copies of it.
    ScenarioContext(std::wstring name, std::wstring builtProgram);

    const std::wstring& Name() const { return name_; }
    // C:\vestro-e2e\<scenario>, empty at the start of the scenario.
    const std::wstring& Root() const { return root_; }
    std::wstring Folder(const std::wstring& relative) const { return root_ + L"\\" + relative; }

    // Copies VestroFile.exe into the folder; returns the copy's path.
    std::wstring PlaceProgram(const std::wstring& folder) const;
    // workingFolder: the folder it starts in; its own folder when empty.
    RunningProgram Start(const std::wstring& program, const std::wstring& workingFolder = {}) const;

    // An input a careless user or a damaged install could give the program.
    void CountBadInput() { ++badInputs_; }
    // Counts the data folder's state for the reliability figures, then requires the expected one.
    void RequireDataOutcome(const std::wstring& dataFolder, const std::optional<FileTree>& oldData,
                            const FileTree& newData, DataOutcome expected);

    int BadInputs() const { return badInputs_; }
    int LostOrMixedData() const { return lostOrMixedData_; }

  private:
    std::wstring name_;
    std::wstring builtProgram_;
    std::wstring root_;
    int badInputs_ = 0;
    int lostOrMixedData_ = 0;
};

}  // namespace vestro::end_to_end
