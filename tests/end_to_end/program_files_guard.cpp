#include "program_files_guard.h"

#include "file_operations.h"
#include "scenario_failure.h"
#include "utf8_text.h"

namespace vestro::end_to_end {
namespace {

std::wstring AsideFolderFor(const std::wstring& folder) {
    return folder + L".vestro-e2e-aside";
}

void PutBack(const std::wstring& folder) {
    RemoveTree(folder);
    MoveItem(AsideFolderFor(folder), folder);
}

}  // namespace

ProgramFilesGuard::ProgramFilesGuard() {
    for (const std::wstring folder : {kCandidate1Folder, kCandidate2Folder}) {
        if (PathExists(AsideFolderFor(folder))) {
            PutBack(folder);
        }
        if (PathExists(folder)) {
            MoveItem(folder, AsideFolderFor(folder));
            setAside_.push_back(folder);
        }
    }
}

ProgramFilesGuard::~ProgramFilesGuard() {
    // Tidying up must not end the driver with an exception; what fails is said in the log.
    for (const std::wstring folder : {kCandidate1Folder, kCandidate2Folder}) {
        try {
            RemoveTree(folder);
        } catch (const ScenarioFailure& failure) {
            PrintLine(L"cleanup: " + failure.Message());
        }
    }
    for (const std::wstring& folder : setAside_) {
        try {
            MoveItem(AsideFolderFor(folder), folder);
        } catch (const ScenarioFailure& failure) {
            PrintLine(L"cleanup: " + failure.Message());
        }
    }
}

}  // namespace vestro::end_to_end
