#include "deployment_checks.h"

#include "copy_flow.h"
#include "file_operations.h"
#include "scenario_failure.h"
#include "utf8_text.h"

namespace vestro::end_to_end {

Snapshot TakeSnapshot(const Deployment& deployment) {
    return {ReadTree(deployment.client.folder), ReadTreeIfPresent(deployment.client.VestroData()),
            ReadTree(deployment.data)};
}

void RequireOldDataKept(ScenarioContext& context, const Deployment& deployment,
                        const Snapshot& before) {
    context.RequireDataOutcome(deployment.client.VestroData(), before.oldData, before.data,
                               DataOutcome::OldKept);
    RequireTree(deployment.client.folder, before.client,
                L"The client install after the failed copy");
}

void RequireNewDataInPlace(ScenarioContext& context, const Deployment& deployment,
                           const Snapshot& before) {
    context.RequireDataOutcome(deployment.client.VestroData(), before.oldData, before.data,
                               DataOutcome::NewInPlace);
    RequireTree(deployment.client.folder, AfterCopy(before.client, before.data),
                L"The client install after the copy");
    RequireTree(deployment.data, before.data, L"Data after the copy");
}

void RequireNewDataInPlaceWithLeftovers(ScenarioContext& context, const Deployment& deployment,
                                        const Snapshot& before, int allowedLeftovers) {
    context.RequireDataOutcome(deployment.client.VestroData(), before.oldData, before.data,
                               DataOutcome::NewInPlace);
    FileTree client = ReadTree(deployment.client.folder);
    int leftovers = 0;
    for (const std::wstring& name : NamesIn(deployment.client.Common())) {
        if (!before.client.contains(L"Common\\" + name)) {
            PrintLine(L"left beside VestroData: " + name);
            client = WithSubtree(client, L"Common\\" + name, std::nullopt);
            ++leftovers;
        }
    }
    Require(leftovers <= allowedLeftovers,
            std::to_wstring(leftovers) + L" folders were left beside VestroData.");
    const std::wstring difference = FirstDifference(client, AfterCopy(before.client, before.data));
    Require(difference.empty(), L"The client install after the copy: " + difference + L".");
}

VestroWindow OpenWithClientPath(const RunningProgram& program, const Deployment& deployment) {
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.TypePath(deployment.client.exePath);
    window.RequireState({.pathText = deployment.client.exePath, .okEnabled = true},
                        L"after typing the client's path");
    return window;
}

void RequireTypedPathCopy(ScenarioContext& context, const Deployment& deployment) {
    const Snapshot before = TakeSnapshot(deployment);
    {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = OpenWithClientPath(program, deployment);
        RequireCopySucceeds(window, program);
    }
    RequireNewDataInPlace(context, deployment, before);
}

}  // namespace vestro::end_to_end
