// Runs one end-to-end scenario: lays out a fresh demo in C:\vestro-e2e, starts a copy of the
// real VestroFile.exe and works its windows from outside, as a user would, then checks the disk.
//
//   vestro_end_to_end_driver <scenario> <VestroFile.exe> <output folder> [--program-files]
//   vestro_end_to_end_driver --list
//   vestro_end_to_end_driver --expect <scenario>[:program-files]...
//
// --expect fails unless the scenarios named are exactly the driver's: the build lists them for
// CTest, and a scenario missing there would never run.
// --program-files confirms that the caller keeps scenarios that install under C:\Program Files
// from running at the same time (CTest's RESOURCE_LOCK); the driver refuses a mismatch.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "file_operations.h"
#include "host_path.h"
#include "program_files_guard.h"
#include "scenario_context.h"
#include "scenario_failure.h"
#include "scenario_registry.h"
#include "scenario_result.h"
#include "screen_capture.h"
#include "utf8_text.h"

namespace vestro::end_to_end {
namespace {

constexpr wchar_t kProgramFilesOption[] = L"--program-files";
constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Settings {
    const Scenario* scenario = nullptr;
    std::wstring builtProgram;
    std::wstring outputFolder;
};

void ListScenarios() {
    for (const Scenario& scenario : AllScenarios()) {
        PrintLine(std::wstring(scenario.name) +
                  (scenario.usesProgramFiles ? L" " + std::wstring(kProgramFilesOption) : L""));
    }
}

std::wstring ListedName(const Scenario& scenario) {
    return std::wstring(scenario.name) + (scenario.usesProgramFiles ? L":program-files" : L"");
}

int CheckExpectedScenarios(const std::vector<std::wstring>& expected) {
    std::vector<std::wstring> known;
    for (const Scenario& scenario : AllScenarios()) {
        known.push_back(ListedName(scenario));
    }
    std::vector<std::wstring> sortedExpected = expected;
    std::sort(known.begin(), known.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    if (known == sortedExpected) {
        PrintLine(L"the build lists all " + std::to_wstring(known.size()) + L" scenarios");
        return kPassed;
    }
    for (const std::wstring& name : known) {
        if (!std::binary_search(sortedExpected.begin(), sortedExpected.end(), name)) {
            PrintLine(L"not listed in tests.cmake: " + name);
        }
    }
    for (const std::wstring& name : sortedExpected) {
        if (!std::binary_search(known.begin(), known.end(), name)) {
            PrintLine(L"listed in tests.cmake but not a scenario of the driver: " + name);
        }
    }
    return kFailed;
}

std::optional<Settings> ReadSettings(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 3 || arguments.size() > 4) {
        PrintLine(
            L"usage: vestro_end_to_end_driver <scenario> <VestroFile.exe> <output folder> "
            L"[--program-files] | --list");
        return std::nullopt;
    }
    const Scenario* scenario = FindScenario(arguments[0]);
    if (scenario == nullptr) {
        PrintLine(L"unknown scenario " + Quoted(arguments[0]) + L"; the scenarios are:");
        ListScenarios();
        return std::nullopt;
    }
    const bool exclusive = arguments.size() == 4 && arguments[3] == kProgramFilesOption;
    if (exclusive != scenario->usesProgramFiles) {
        PrintLine(L"scenario " + Quoted(scenario->name) +
                  (scenario->usesProgramFiles
                       ? L" installs under C:\\Program Files: run it with --program-files, "
                         L"under a CTest RESOURCE_LOCK"
                       : L" does not use C:\\Program Files: run it without --program-files"));
        return std::nullopt;
    }
    return Settings{scenario, WindowsPathOf(arguments[1]), WindowsPathOf(arguments[2])};
}

int Run(const Settings& settings) {
    const std::wstring name = settings.scenario->name;
    const std::wstring screenshot = settings.outputFolder + L"\\screenshots\\" + name + L".bmp";
    MakeFolders(settings.outputFolder + L"\\screenshots");
    MakeFolders(settings.outputFolder + L"\\results");
    DeleteFileW(ExtendedPath(screenshot).c_str());
    OnFirstFailure([screenshot] {
        if (SaveScreenAsBitmap(screenshot)) {
            PrintLine(L"screenshot at the failure: " + screenshot);
        }
    });

    ScenarioResult result{name};
    std::optional<ScenarioContext> context;
    try {
        context.emplace(name, settings.builtProgram);
        std::optional<ProgramFilesGuard> programFiles;
        if (settings.scenario->usesProgramFiles) {
            programFiles.emplace();
        }
        settings.scenario->run(*context);
        result.passed = true;
    } catch (const ScenarioFailure& failure) {
        PrintLine(L"FAILED " + name + L": " + failure.Message());
    } catch (const std::exception& exception) {
        PrintLine(L"FAILED " + name + L": unexpected exception: " +
                  std::wstring(exception.what(), exception.what() + std::strlen(exception.what())));
    }
    if (context) {
        result.badInputs = context->BadInputs();
        result.lostOrMixedData = context->LostOrMixedData();
    }
    WriteScenarioResult(settings.outputFolder + L"\\results\\" + name + L".txt", result);

    if (result.passed && context) {
        RemoveTree(context->Root());
    } else if (context) {
        PrintLine(L"the scenario's files are kept in " + context->Root());
    }
    PrintLine((result.passed ? L"PASSED " : L"FAILED ") + name + L" (bad inputs " +
              std::to_wstring(result.badInputs) + L", lost or mixed data " +
              std::to_wstring(result.lostOrMixedData) + L")");
    return result.passed ? kPassed : kFailed;
}

}  // namespace
}  // namespace vestro::end_to_end

int wmain(int argc, wchar_t** argv) {
    using namespace vestro::end_to_end;
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && arguments[0] == L"--list") {
        ListScenarios();
        return kPassed;
    }
    if (!arguments.empty() && arguments[0] == L"--expect") {
        return CheckExpectedScenarios({arguments.begin() + 1, arguments.end()});
    }
    const std::optional<Settings> settings = ReadSettings(arguments);
    if (!settings) {
        return kUsageError;
    }
    try {
        return Run(*settings);
    } catch (const ScenarioFailure& failure) {
        PrintLine(L"FAILED: " + failure.Message());
        return kFailed;
    }
}
