#pragma once

#include <optional>

#include "deployment_layout.h"
#include "file_tree.h"
#include "running_program.h"
#include "scenario_context.h"
#include "vestro_window.h"

namespace vestro::end_to_end {

// The trees a copy is checked against, read before the program runs (and before anything is
// held open).
struct Snapshot {
    FileTree client;
    // Empty when the client had no VestroData yet.
    std::optional<FileTree> oldData;
    FileTree data;
};

Snapshot TakeSnapshot(const Deployment& deployment);

// After a refused copy: the old data complete, nothing of a staging copy left in Common.
void RequireOldDataKept(ScenarioContext& context, const Deployment& deployment,
                        const Snapshot& before);

// After a copy: VestroData holds exactly Data, everything else as it was.
void RequireNewDataInPlace(ScenarioContext& context, const Deployment& deployment,
                           const Snapshot& before);

// The same where the system keeps the old folder, set aside, from being removed: up to
// allowedLeftovers folders may stay beside VestroData, for the next copy to clear.
void RequireNewDataInPlaceWithLeftovers(ScenarioContext& context, const Deployment& deployment,
                                        const Snapshot& before, int allowedLeftovers);

// Waits for the window and types the client's path, ready for OK.
VestroWindow OpenWithClientPath(const RunningProgram& program, const Deployment& deployment);

// The whole successful run with a typed path: start, type, OK, success, checks on disk.
void RequireTypedPathCopy(ScenarioContext& context, const Deployment& deployment);

}  // namespace vestro::end_to_end
