#include "copy_flow.h"
#include "deployment_layout.h"
#include "file_operations.h"
#include "message_box.h"
#include "program_files_guard.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "vestro_window.h"

namespace vestro::end_to_end {
namespace {

constexpr wchar_t kCandidate1[] = L"C:\\Program Files\\Tarno\\Tarno.exe";
constexpr wchar_t kCandidate2[] = L"C:\\Program Files (x86)\\Tarno\\Tarno.exe";

// Starts the program, expects the window to offer the detected path, copies, and checks that
// exactly that client's VestroData now holds the data.
void RequireDetectedAndCopied(ScenarioContext& context, const Deployment& deployment,
                              const std::wstring& expectedPath) {
    const FileTree clientBefore = ReadTree(deployment.client.folder);
    const FileTree oldData = ReadTree(deployment.client.VestroData());
    const FileTree data = ReadTree(deployment.data);

    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.RequireState({.pathText = expectedPath,
                         .statusText = L"",
                         .okEnabled = true,
                         .cancelEnabled = true,
                         .browseEnabled = true},
                        L"at start");
    RequireCopySucceeds(window, program);

    context.RequireDataOutcome(deployment.client.VestroData(), oldData, data,
                               DataOutcome::NewInPlace);
    RequireTree(deployment.client.folder, AfterCopy(clientBefore, data),
                L"The client install after the copy");
    RequireTree(deployment.data, data, L"Data after the copy");
}

}  // namespace

void TypicalRun(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, kCandidate1Folder);
    RequireDetectedAndCopied(context, deployment, kCandidate1);
}

void BothCandidates(ScenarioContext& context) {
    const ClientInstall second = InstallClient(kCandidate2Folder);
    const FileTree secondBefore = ReadTree(second.folder);
    const Deployment deployment = LayOutDeployment(context, kCandidate1Folder);
    RequireDetectedAndCopied(context, deployment, kCandidate1);
    RequireTree(second.folder, secondBefore, L"The second install, which the copy must not touch");
}

void SecondCandidateOnly(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, kCandidate2Folder);
    RequireDetectedAndCopied(context, deployment, kCandidate2);
    Require(!PathExists(kCandidate1Folder),
            L"The copy created " + Quoted(kCandidate1Folder) + L", where no client was installed.");
}

void NoClient(ScenarioContext& context) {
    const std::wstring program = context.PlaceProgram(context.Folder(L"program"));
    const FileTree before = ReadTree(context.Root());

    const RunningProgram running = context.Start(program);
    const VestroWindow window = VestroWindow::WaitForOpen(running);
    window.RequireState({.pathText = L"",
                         .statusText = L"",
                         .okEnabled = false,
                         .cancelEnabled = true,
                         .browseEnabled = true},
                        L"at start without a client");
    Require(MessageBoxWindow::FindShown(running.ProcessId()) == nullptr,
            L"A message is shown although no client is installed.");
    window.ClickCancel();
    running.RequireEndsWithExitCode(0, L"after Cancel");

    RequireTree(context.Root(), before, L"The scenario folder after Cancel");
    Require(!PathExists(kCandidate1Folder) && !PathExists(kCandidate2Folder),
            L"A Tarno folder appeared under C:\\Program Files.");
}

}  // namespace vestro::end_to_end
