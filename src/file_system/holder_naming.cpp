#include "file_system/holder_naming.h"

#include <algorithm>

namespace vestro {
namespace {

std::wstring Named(const HoldingProgram& program) {
    return program.name + L" (process " + std::to_wstring(program.processId) + L")";
}

}  // namespace

std::wstring NameHolders(RestartManager& restartManager, const std::vector<std::wstring>& files) {
    if (files.empty() || !restartManager.StartSession()) {
        return {};
    }
    std::optional<std::vector<HoldingProgram>> listed;
    if (restartManager.RegisterFiles(files)) {
        listed = restartManager.ListHolders();
    }
    restartManager.EndSession();
    if (!listed) {
        return {};
    }
    // A program that holds several of the files is listed once for each.
    std::vector<HoldingProgram> programs;
    for (const HoldingProgram& program : *listed) {
        const bool seen = std::any_of(programs.begin(), programs.end(), [&](const auto& known) {
            return known.processId == program.processId && known.name == program.name;
        });
        if (!seen) {
            programs.push_back(program);
        }
    }
    if (programs.empty()) {
        return {};
    }
    std::wstring sentence = L" It is in use by ";
    for (std::size_t index = 0; index < programs.size(); ++index) {
        if (index > 0) {
            sentence += index + 1 == programs.size() ? L" and " : L", ";
        }
        sentence += Named(programs[index]);
    }
    return sentence +
           (programs.size() == 1 ? L"; close it and try again." : L"; close them and try again.");
}

}  // namespace vestro
