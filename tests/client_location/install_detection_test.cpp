#include "client_location/install_detection.h"

#include <gtest/gtest.h>

#include "support/instrumented_file_system.h"
#include "support/listed_file_system.h"

namespace vestro {
namespace {

using testing::InstrumentedFileSystem;
using testing::ListedFileSystem;

const std::wstring kCandidate1(kInstallCandidates[0]);
const std::wstring kCandidate2(kInstallCandidates[1]);

TEST(InstallDetection, ProbesTheStandardFoldersInOrderAndStopsAtTheFirstFound) {
    struct Case {
        std::set<std::wstring> installed;
        std::wstring found;
        std::vector<std::wstring> probes;
    };
    const Case cases[] = {
        {{kCandidate1, kCandidate2}, kCandidate1, {L"FileExists " + kCandidate1}},
        {{kCandidate1}, kCandidate1, {L"FileExists " + kCandidate1}},
        {{kCandidate2}, kCandidate2, {L"FileExists " + kCandidate1, L"FileExists " + kCandidate2}},
        {{}, L"", {L"FileExists " + kCandidate1, L"FileExists " + kCandidate2}},
    };
    for (const Case& each : cases) {
        ListedFileSystem listed(each.installed);
        InstrumentedFileSystem recording(listed);
        const DetectionResult result = DetectInstall(recording);
        EXPECT_FALSE(result.status.Failed());
        EXPECT_EQ(result.exePath, each.found);
        EXPECT_EQ(recording.calls(), each.probes);
    }
}

TEST(InstallDetection, AFailedProbeEndsTheSearch) {
    ListedFileSystem listed({kCandidate2});
    InstrumentedFileSystem failing(listed, 1);
    const DetectionResult result = DetectInstall(failing);
    EXPECT_TRUE(result.status.Failed());
    EXPECT_EQ(result.status.description, InstrumentedFileSystem::kInjectedFailureText);
    EXPECT_EQ(result.exePath, L"");
    EXPECT_EQ(failing.calls().size(), 1u) << "the second candidate is not probed";
}

}  // namespace
}  // namespace vestro
