#include <algorithm>
#include <vector>

#include "copy_flow.h"
#include "demo_content.h"
#include "deployment_layout.h"
#include "file_operations.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "vestro_window.h"

namespace vestro::end_to_end {
namespace {

struct TypedPath {
    std::wstring text;
    bool okEnabled;
    bool badInput;
    const wchar_t* what;
};

std::wstring WithForwardSlashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

}  // namespace

void PathCheck(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const ClientInstall& client = deployment.client;
    const std::wstring tool = client.folder + L"\\tool.exe";
    WriteBytes(tool, "MZ another program\r\n");
    const FileTree before = ReadTree(context.Root());

    // Each path changes OK's state from the one before, so that every check sees the path box's
    // change take effect.
    const std::vector<TypedPath> paths{
        {client.exePath, true, false, L"the client's Tarno.exe"},
        {L"   ", false, true, L"spaces only"},
        {client.exePath, true, false, L"the client's Tarno.exe again"},
        {client.folder, false, true, L"a folder"},
        {tool, true, true, L"an existing file of another name"},
        {client.folder + L"\\", false, true, L"a folder with a trailing backslash"},
        {WithForwardSlashes(client.exePath), true, true, L"the path with forward slashes"},
        {client.folder + L"\\Missing.exe", false, true, L"a file that does not exist"},
        {client.exePath, true, false, L"the client's Tarno.exe without spaces"},
        {client.exePath + L"   ", false, true, L"the path with trailing spaces"},
        {client.exePath, true, false, L"the path with its spaces removed"},
        {L"  " + client.exePath, false, true, L"the path with leading spaces"},
        {L"", false, false, L"an empty path box"},
    };

    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    for (const TypedPath& path : paths) {
        window.TypePath(path.text);
        window.RequireState({.pathText = path.text,
                             .statusText = L"",
                             .okEnabled = path.okEnabled,
                             .cancelEnabled = true,
                             .browseEnabled = true},
                            std::wstring(L"after typing ") + path.what);
        if (path.badInput) {
            context.CountBadInput();
        }
    }
    window.ClickCancel();
    program.RequireEndsWithExitCode(0, L"after Cancel");
    RequireTree(context.Root(), before, L"The scenario folder after checking paths");
}

void OtherFileName(ScenarioContext& context) {
    // The folder that cutting ten characters off ...\Tools\tool.exe would give.
    const std::wstring decoyCommon = context.Folder(L"Tool\\Common");
    MakeFolders(decoyCommon);
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"Tools"));
    const ClientInstall client{deployment.client.folder, deployment.client.folder + L"\\tool.exe"};
    MoveItem(deployment.client.exePath, client.exePath);
    const FileTree clientBefore = ReadTree(client.folder);
    const FileTree oldData = ReadTree(client.VestroData());
    const FileTree data = ReadTree(deployment.data);

    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.TypePath(client.exePath);
    context.CountBadInput();
    window.RequireState({.pathText = client.exePath, .okEnabled = true},
                        L"after typing a file of another name");
    RequireCopySucceeds(window, program);

    context.RequireDataOutcome(client.VestroData(), oldData, data, DataOutcome::NewInPlace);
    RequireTree(client.folder, AfterCopy(clientBefore, data),
                L"The Common beside tool.exe after the copy");
    RequireTree(decoyCommon, {}, L"The Common of the folder with the cut name");
}

void MissingCommon(ScenarioContext& context) {
    const Deployment deployment =
        LayOutDeployment(context, context.Folder(L"client"), CommonFolder::Missing);
    const ClientInstall tools =
        InstallClient(context.Folder(L"Tools"), CommonFolder::Missing, L"tool.exe");
    MakeFolders(context.Folder(L"Tool\\Common"));
    const FileTree before = ReadTree(context.Root());

    const RunningProgram program = context.Start(deployment.program);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.TypePath(deployment.client.exePath);
    context.CountBadInput();
    RequireCommonNotFound(window, program, deployment.client.Common(), L"");
    window.RequireState({.pathText = deployment.client.exePath}, L"after the not-found message");

    window.TypePath(tools.exePath);
    context.CountBadInput();
    RequireCommonNotFound(window, program, tools.Common(), L"");

    RequireTree(context.Root(), before, L"The scenario folder after two not-found messages");
    window.ClickCancel();
    program.RequireEndsWithExitCode(0, L"after Cancel");
}

void NoFolderPart(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const FileTree before = ReadTree(context.Root());

    // Started in the client's folder, where the bare name names an existing file.
    const RunningProgram program = context.Start(deployment.program, deployment.client.folder);
    const VestroWindow window = VestroWindow::WaitForOpen(program);
    window.TypePath(L"Tarno.exe");
    context.CountBadInput();
    window.RequireState({.pathText = L"Tarno.exe", .okEnabled = true},
                        L"after typing a bare file name that exists in the working folder");
    RequireCopyFails(window, program, FailureStage::BeforeCopying, L"");

    RequireTree(context.Root(), before, L"The scenario folder after the refused copy");
    window.ClickCancel();
    program.RequireEndsWithExitCode(0, L"after Cancel");
}

void NestedFolders(ScenarioContext& context) {
    // Data inside the old VestroData, then VestroData inside Data: either copy would copy a folder
    // into itself or delete its own source.
    const ClientInstall client = InstallClient(context.Folder(L"client"));
    const std::wstring programInsideTarget = context.PlaceProgram(client.VestroData() + L"\\tool");
    WriteNewData(client.VestroData() + L"\\tool\\Data");

    const std::wstring outer = context.Folder(L"outer");
    const std::wstring programAroundTarget = context.PlaceProgram(outer);
    WriteNewData(outer + L"\\Data");
    const ClientInstall clientInsideData = InstallClient(outer + L"\\Data\\client");

    const FileTree before = ReadTree(context.Root());
    for (const auto& [program, exePath] :
         {std::pair{programInsideTarget, client.exePath},
          std::pair{programAroundTarget, clientInsideData.exePath}}) {
        const RunningProgram running = context.Start(program);
        const VestroWindow window = VestroWindow::WaitForOpen(running);
        window.TypePath(exePath);
        context.CountBadInput();
        RequireCopyFails(window, running, FailureStage::WhileCopying, L"");
        RequireTree(context.Root(), before, L"The scenario folder after a refused nested copy");
        window.ClickCancel();
        running.RequireEndsWithExitCode(0, L"after Cancel");
    }
}

}  // namespace vestro::end_to_end
