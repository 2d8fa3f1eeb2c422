#include "copy_flow.h"
#include "deployment_checks.h"
#include "file_operations.h"
#include "message_box.h"
#include "open_file_dialog.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "utf8_text.h"

namespace vestro::end_to_end {
namespace {

constexpr wchar_t kDialogFileName[] = L"Tarno.exe";

OpenFileDialog ClickBrowse(const VestroWindow& window, const RunningProgram& program) {
    window.ClickBrowse();
    const OpenFileDialog dialog = OpenFileDialog::WaitForOpen(program, window.Handle());
    RequireEqualText(dialog.FileNameText(), kDialogFileName,
                     L"The dialog's file name when it opens");
    return dialog;
}

ExpectedWindowState IdleWithPath(const std::wstring& path, bool okEnabled) {
    return {.pathText = path,
            .statusText = L"",
            .okEnabled = okEnabled,
            .cancelEnabled = true,
            .browseEnabled = true};
}

}  // namespace

void BrowseCancel(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const FileTree before = ReadTree(context.Root());
    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);

    for (const std::wstring& path : {std::wstring(), deployment.client.exePath}) {
        window.TypePath(path);
        const ExpectedWindowState state = IdleWithPath(path, !path.empty());
        window.RequireState(state, L"before Browse");
        const OpenFileDialog dialog = ClickBrowse(window, program);
        dialog.Cancel();
        dialog.RequireClosed(L"Cancel");
        window.RequireState(state, L"after the dialog was cancelled");
        Require(MessageBoxWindow::FindShown(program.ProcessId()) == nullptr,
                L"A message is shown after the dialog was cancelled.");
    }
    window.ClickCancel();
    program.RequireEndsWithExitCode(0, L"after Cancel");
    RequireTree(context.Root(), before, L"The scenario folder after cancelled dialogs");
}

void BrowsePick(ScenarioContext& context) {
    const Deployment deployment =
        LayOutDeployment(context, context.Folder(L"client installed elsewhere"));
    // The dialog lists Tarno.exe only, but a user may type the name of any existing file.
    const std::wstring tool = deployment.client.folder + L"\\tool.exe";
    WriteBytes(tool, "MZ another program\r\n");
    const Snapshot before = TakeSnapshot(deployment);
    {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = VestroWindow::WaitForOpen(program);
        window.TypePath(L"");
        window.RequireState(IdleWithPath(L"", false), L"with an empty path box");

        for (const std::wstring& choice : {deployment.client.exePath, tool}) {
            const OpenFileDialog dialog = ClickBrowse(window, program);
            dialog.Accept(choice);
            dialog.RequireClosed(L"a file was chosen");
            window.RequireState(IdleWithPath(choice, true), L"after choosing " + Quoted(choice));
        }

        // The dialog starts with Tarno.exe again, whatever was chosen before.
        const OpenFileDialog again = ClickBrowse(window, program);
        again.Cancel();
        again.RequireClosed(L"Cancel");
        window.RequireState(IdleWithPath(tool, true), L"after the last dialog was cancelled");

        RequireCopySucceeds(window, program);
    }
    RequireNewDataInPlace(context, deployment, before);
}

void BrowseMissingFile(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const FileTree before = ReadTree(context.Root());
    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.TypePath(L"");

    const OpenFileDialog dialog = ClickBrowse(window, program);
    dialog.Accept(deployment.client.folder + L"\\Missing.exe");
    context.CountBadInput();
    const std::wstring warning = dialog.DismissWarning();
    PrintLine(L"the open-file dialog warned: " + warning);
    Require(dialog.IsOpen(), L"The open-file dialog closed on a file that does not exist.");
    window.RequireState(IdleWithPath(L"", false), L"while the dialog refuses a missing file");
    dialog.Cancel();
    dialog.RequireClosed(L"Cancel");
    window.RequireState(IdleWithPath(L"", false), L"after the dialog was cancelled");

    window.ClickCancel();
    program.RequireEndsWithExitCode(0, L"after Cancel");
    RequireTree(context.Root(), before, L"The scenario folder after a refused file name");
}

}  // namespace vestro::end_to_end
