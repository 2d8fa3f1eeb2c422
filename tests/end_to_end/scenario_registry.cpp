#include "scenario_registry.h"

#include <algorithm>
#include <array>

#include "scenarios.h"

namespace vestro::end_to_end {
namespace {

constexpr bool kProgramFiles = true;
constexpr bool kElsewhere = false;

constexpr std::array kScenarios{
    Scenario{L"typical-run", kProgramFiles, TypicalRun},
    Scenario{L"both-candidates", kProgramFiles, BothCandidates},
    Scenario{L"candidate-2-only", kProgramFiles, SecondCandidateOnly},
    Scenario{L"no-client", kProgramFiles, NoClient},
    Scenario{L"path-check", kElsewhere, PathCheck},
    Scenario{L"other-file-name", kElsewhere, OtherFileName},
    Scenario{L"missing-common", kElsewhere, MissingCommon},
    Scenario{L"no-folder-part", kElsewhere, NoFolderPart},
    Scenario{L"nested-folders", kElsewhere, NestedFolders},
    Scenario{L"missing-data", kElsewhere, MissingData},
    Scenario{L"held-open-old-folder", kElsewhere, HeldOpenOldFolder},
    Scenario{L"held-open-old-file", kElsewhere, HeldOpenOldFile},
    Scenario{L"held-open-data-file", kElsewhere, HeldOpenDataFile},
    Scenario{L"read-only-old-data", kElsewhere, ReadOnlyOldData},
    Scenario{L"non-ascii-names", kElsewhere, NonAsciiNames},
    Scenario{L"long-paths", kElsewhere, LongPaths},
    Scenario{L"empty-data", kElsewhere, EmptyData},
    Scenario{L"linked-folder-in-old-data", kElsewhere, LinkedFolderInOldData},
    Scenario{L"cancel", kElsewhere, CancelButton},
    Scenario{L"close-box", kElsewhere, CloseBox},
    Scenario{L"close-during-copy", kElsewhere, CloseDuringCopy},
    Scenario{L"browse-cancel", kElsewhere, BrowseCancel},
    Scenario{L"browse-pick", kElsewhere, BrowsePick},
    Scenario{L"browse-missing-file", kElsewhere, BrowseMissingFile},
};

}  // namespace

std::span<const Scenario> AllScenarios() {
    return kScenarios;
}

const Scenario* FindScenario(std::wstring_view name) {
    const auto found =
        std::find_if(kScenarios.begin(), kScenarios.end(),
                     [&](const Scenario& scenario) { return scenario.name == name; });
    return found == kScenarios.end() ? nullptr : &*found;
}

}  // namespace vestro::end_to_end
