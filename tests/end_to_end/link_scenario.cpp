#include <filesystem>

#include "copy_flow.h"
#include "deployment_checks.h"
#include "file_operations.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "support/folder_link.h"
#include "utf8_text.h"

namespace vestro::end_to_end {

void LinkedFolderInOldData(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const std::wstring outside = context.Folder(L"precious");
    WriteBytes(outside + L"\\keep.txt", "must survive the copy\r\n");
    WriteBytes(outside + L"\\sub\\deep.txt", "deep\r\n");
    const FileTree outsideBefore = ReadTree(outside);
    const std::wstring link = deployment.client.VestroData() + L"\\maps\\linked";

    testing::FolderLinks links;
    const std::string problem = links.Make(std::filesystem::path(link), outside);
    Require(problem.empty(),
            L"No link could be made: " + std::wstring(problem.begin(), problem.end()));
    // Wherever the old folder goes, its link must go as a link: every link below the client is
    // removed at the end, before the scenario's folder is, even when the scenario fails.
    const auto trackMovedLinks = [&] {
        for (const std::wstring& moved : LinksBelow(deployment.client.folder)) {
            links.Track(std::filesystem::path(moved));
        }
    };
    const Snapshot before = TakeSnapshot(deployment);
    try {
        const RunningProgram program = context.Start(deployment.program);
        const VestroWindow window = OpenWithClientPath(program, deployment);
        RequireCopySucceeds(window, program);
    } catch (...) {
        trackMovedLinks();
        throw;
    }
    trackMovedLinks();

    RequireTree(outside, outsideBefore, L"The folder the old data linked to");
    // Wine cannot remove a Unix link as a link, so there the old folder holding it stays aside (the
    // next copy has to clear it); on Windows nothing may stay.
    RequireNewDataInPlaceWithLeftovers(context, deployment, before,
                                       testing::RunningUnderWine() ? 1 : 0);
}

}  // namespace vestro::end_to_end
