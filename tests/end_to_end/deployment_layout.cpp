#include "deployment_layout.h"

#include "demo_content.h"

namespace vestro::end_to_end {

Deployment LayOutDeployment(const ScenarioContext& context, const std::wstring& clientFolder,
                            CommonFolder common, const std::wstring& programFolder) {
    const std::wstring folder = programFolder.empty() ? context.Folder(L"program") : programFolder;
    Deployment deployment{context.PlaceProgram(folder), folder + L"\\Data",
                          InstallClient(clientFolder, common)};
    WriteNewData(deployment.data);
    return deployment;
}

}  // namespace vestro::end_to_end
