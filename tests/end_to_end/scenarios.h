#pragma once

#include "scenario_context.h"

namespace vestro::end_to_end {

// The client found at start in the standard folders under C:\Program Files.
void TypicalRun(ScenarioContext& context);
void BothCandidates(ScenarioContext& context);
void SecondCandidateOnly(ScenarioContext& context);
void NoClient(ScenarioContext& context);

// Paths typed into the path box.
void PathCheck(ScenarioContext& context);
void OtherFileName(ScenarioContext& context);
void MissingCommon(ScenarioContext& context);
void NoFolderPart(ScenarioContext& context);
void NestedFolders(ScenarioContext& context);

// Copies that fail, and the tries after them.
void MissingData(ScenarioContext& context);
void HeldOpenOldFolder(ScenarioContext& context);
void HeldOpenOldFile(ScenarioContext& context);
void HeldOpenDataFile(ScenarioContext& context);

// Data of unusual shape.
void ReadOnlyOldData(ScenarioContext& context);
void NonAsciiNames(ScenarioContext& context);
void LongPaths(ScenarioContext& context);
void EmptyData(ScenarioContext& context);
void LinkedFolderInOldData(ScenarioContext& context);

// Ending the program.
void CancelButton(ScenarioContext& context);
void CloseBox(ScenarioContext& context);
void CloseDuringCopy(ScenarioContext& context);

// The open-file dialog.
void BrowseCancel(ScenarioContext& context);
void BrowsePick(ScenarioContext& context);
void BrowseMissingFile(ScenarioContext& context);

}  // namespace vestro::end_to_end
