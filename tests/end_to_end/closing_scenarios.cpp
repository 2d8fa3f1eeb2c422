#include "copy_flow.h"
#include "demo_content.h"
#include "deployment_checks.h"
#include "file_operations.h"
#include "scenarios.h"

namespace vestro::end_to_end {
namespace {

// Closes the window with a path that would copy, and expects the program to end touching nothing.
void RequireEndsWithoutChange(ScenarioContext& context, void (VestroWindow::*close)() const,
                              const std::wstring& how) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const FileTree before = ReadTree(context.Root());
    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = OpenWithClientPath(program, deployment);
    (window.*close)();
    program.RequireEndsWithExitCode(0, L"after " + how);
    RequireTree(context.Root(), before, L"The scenario folder after " + how);
}

}  // namespace

void CancelButton(ScenarioContext& context) {
    RequireEndsWithoutChange(context, &VestroWindow::ClickCancel, L"Cancel");
}

void CloseBox(ScenarioContext& context) {
    RequireEndsWithoutChange(context, &VestroWindow::PressCloseBox, L"the close box");
}

void CloseDuringCopy(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    // Enough files that the copy is still running when the close requests come through.
    for (int index = 0; index < 300; ++index) {
        WriteBytes(deployment.data + L"\\bulk\\file " + std::to_wstring(index) + L".dat",
                   PatternBytes(index, 16 * 1024));
    }
    const Snapshot before = TakeSnapshot(deployment);
    {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = OpenWithClientPath(program, deployment);
        // Queued behind the click, they reach the window during the copy's pass over its events.
        RequireCopySucceeds(window, program, [&window] {
            window.PressCloseBox();
            window.RequestClose();
        });
    }
    RequireNewDataInPlace(context, deployment, before);
}

}  // namespace vestro::end_to_end
