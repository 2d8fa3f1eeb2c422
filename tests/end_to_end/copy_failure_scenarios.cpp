#include "copy_flow.h"
#include "deployment_checks.h"
#include "file_operations.h"
#include "held_open_item.h"
#include "rename_probe.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "utf8_text.h"
#include "vestro_window.h"

namespace vestro::end_to_end {

void MissingData(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const Snapshot before = TakeSnapshot(deployment);
    const std::wstring dataAside = context.Folder(L"Data set aside");
    MoveItem(deployment.data, dataAside);

    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = OpenWithClientPath(program, deployment);
    context.CountBadInput();
    const std::wstring message = RequireCopyFails(window, program, FailureStage::WhileCopying, L"");
    Require(message.find(deployment.data) != std::wstring::npos,
            L"The failure message does not name the missing folder " + Quoted(deployment.data) +
                L": " + Quoted(message));
    RequireOldDataKept(context, deployment, before);

    // The user puts Data in place and tries again in the same window.
    MoveItem(dataAside, deployment.data);
    RequireCopySucceeds(window, program);
    RequireNewDataInPlace(context, deployment, before);
}

namespace {

// The held item makes the copy fail with the old data kept; once it is released, OK in the same
// window succeeds.
void RequireCopyBlockedUntilReleased(ScenarioContext& context, const Deployment& deployment,
                                     const Snapshot& before, HeldOpenItem& held) {
    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = OpenWithClientPath(program, deployment);
    RequireCopyFails(window, program, FailureStage::WhileCopying, L"");
    RequireOldDataKept(context, deployment, before);

    held.Release();
    RequireCopySucceeds(window, program);
    RequireNewDataInPlace(context, deployment, before);
}

}  // namespace

void HeldOpenOldFolder(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const Snapshot before = TakeSnapshot(deployment);
    HeldOpenItem held =
        HeldOpenItem::Folder(deployment.client.VestroData(), FILE_SHARE_READ | FILE_SHARE_WRITE);
    context.CountBadInput();
    RequireCopyBlockedUntilReleased(context, deployment, before, held);
}

void HeldOpenOldFile(ScenarioContext& context) {
    const bool renameRefused = RenameRefusedWhileFileInsideIsOpen(context.Folder(L"probe"));
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const Snapshot before = TakeSnapshot(deployment);
    HeldOpenItem held = HeldOpenItem::File(deployment.client.VestroData() + L"\\shared.txt",
                                           FILE_SHARE_READ | FILE_SHARE_WRITE);
    context.CountBadInput();

    if (renameRefused) {
        RequireCopyBlockedUntilReleased(context, deployment, before, held);
        return;
    }

    // Wine renames the folder around the open file, so the new data goes in; only the old folder,
    // set aside, cannot be removed while the file is open. The next copy must clear it.
    PrintLine(
        L"note: this system renames a folder that holds an open file (Wine does; Windows "
        L"refuses), so the copy succeeds and leaves the old folder aside for the next run");
    {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = OpenWithClientPath(program, deployment);
        RequireCopySucceeds(window, program);
    }
    RequireNewDataInPlaceWithLeftovers(context, deployment, before, 1);

    held.Release();
    {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = OpenWithClientPath(program, deployment);
        RequireCopySucceeds(window, program);
    }
    RequireNewDataInPlace(context, deployment, before);
}

void HeldOpenDataFile(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const Snapshot before = TakeSnapshot(deployment);
    HeldOpenItem held = HeldOpenItem::File(deployment.data + L"\\maps\\deep\\level2.dat", 0);
    context.CountBadInput();
    RequireCopyBlockedUntilReleased(context, deployment, before, held);
}

}  // namespace vestro::end_to_end
