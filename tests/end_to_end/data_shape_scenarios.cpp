#include "demo_content.h"
#include "deployment_checks.h"
#include "file_operations.h"
#include "scenario_failure.h"
#include "scenarios.h"
#include "utf8_text.h"

namespace vestro::end_to_end {

void ReadOnlyOldData(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    const std::wstring old = deployment.client.VestroData();
    for (const std::wstring& path : {old + L"\\shared.txt", old + L"\\retired\\stale.bin",
                                     old + L"\\retired", old + L"\\maps", old}) {
        SetReadOnly(path);
    }
    SetReadOnly(deployment.data + L"\\readme.txt");
    RequireTypedPathCopy(context, deployment);
}

void NonAsciiNames(ScenarioContext& context) {
    const Deployment deployment =
        LayOutDeployment(context, context.Folder(L"Clients Données\\数据 client"),
                         CommonFolder::WithOldData, context.Folder(L"Programme données 数据"));
    WriteBytes(deployment.data + L"\\Données\\数据\\fichier é.txt",
               ToUtf8(L"contenu déjà vu, 数据\r\n"));
    WriteBytes(deployment.data + L"\\数据.bin", PatternBytes(3, 1000));
    WriteBytes(deployment.data + L"\\Ελληνικά ñ ü ß.txt", "Unicode name\r\n");
    WriteBytes(deployment.data + L"\\outside the BMP 😀.txt", "surrogate pair\r\n");
    MakeFolders(deployment.data + L"\\Données vides");
    WriteBytes(deployment.client.VestroData() + L"\\Anciennes données.txt", "old\r\n");
    RequireTypedPathCopy(context, deployment);
}

void LongPaths(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    std::wstring deep;
    for (int level = 1; level <= 5; ++level) {
        deep += L"\\level " + std::to_wstring(level) + L" " + std::wstring(50, L'x');
    }
    WriteBytes(deployment.data + deep + L"\\deep file.dat", PatternBytes(4, 5000));
    MakeFolders(deployment.data + deep + L"\\empty deep folder");
    WriteBytes(deployment.client.VestroData() + deep + L"\\old deep file.dat",
               PatternBytes(5, 100));
    const std::wstring longest = deployment.client.VestroData() + deep + L"\\deep file.dat";
    Require(longest.size() > 300, L"The layout's longest destination path has only " +
                                      std::to_wstring(longest.size()) + L" characters.");
    RequireTypedPathCopy(context, deployment);
}

void EmptyData(ScenarioContext& context) {
    const Deployment deployment = LayOutDeployment(context, context.Folder(L"client"));
    RemoveTree(deployment.data);
    MakeFolders(deployment.data);
    RequireTypedPathCopy(context, deployment);
}

}  // namespace vestro::end_to_end
