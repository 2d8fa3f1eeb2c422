#include "scenario_context.h"

#include <utility>

#include "file_operations.h"
#include "scenario_failure.h"

namespace vestro::end_to_end {

ScenarioContext::ScenarioContext(std::wstring name, std::wstring builtProgram)
    : name_(std::move(name)),
      builtProgram_(std::move(builtProgram)),
      root_(std::wstring(kScenariosRoot) + L"\\" + name_) {
    // A failed earlier run leaves its folder for inspection; this run starts afresh.
    RemoveTree(root_);
    MakeFolders(root_);
}

std::wstring ScenarioContext::PlaceProgram(const std::wstring& folder) const {
    const std::wstring program = folder + L"\\VestroFile.exe";
    CopyFileTo(builtProgram_, program);
    return program;
}

RunningProgram ScenarioContext::Start(const std::wstring& program,
                                      const std::wstring& workingFolder) const {
    return RunningProgram(program, workingFolder);
}

void ScenarioContext::RequireDataOutcome(const std::wstring& dataFolder,
                                         const std::optional<FileTree>& oldData,
                                         const FileTree& newData, DataOutcome expected) {
    const DataOutcome outcome = ClassifyDataFolder(dataFolder, oldData, newData);
    if (outcome == DataOutcome::LostOrMixed) {
        ++lostOrMixedData_;
    }
    Require(outcome == expected, Quoted(dataFolder) + L" holds " + NameOf(outcome) +
                                     L"; expected " + NameOf(expected) + L".");
}

}  // namespace vestro::end_to_end
