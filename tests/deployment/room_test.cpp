#include <gtest/gtest.h>

#include "deployment/deployment_layout.h"
#include "deployment/staged_replacement.h"
#include "support/instrumented_file_system.h"

namespace vestro::testing {
namespace {

TEST(Room, ACopyThatCannotFitIsRefusedUntouchedAndReuseMakesItFit) {
    DeploymentLayout layout;
    WriteFile(layout.Data() / "big.bin", std::string(1 << 20, 'b'));
    const std::unique_ptr<FileSystem> real = CreateFileSystemWithHoldWait({.bound = {}}).value;
    InstrumentedFileSystem fileSystem(*real);
    const auto replace = [&](std::uint64_t freeSpace) {
        fileSystem.freeSpace = freeSpace;
        return ReplaceFolderWithCopy(fileSystem, layout.SourceDir(), layout.TargetDir());
    };
    const TreeSnapshot old = SnapshotTree(layout.VestroData());
    // Three files and six folders of Data, and the copy's own folder, a unit each.
    fileSystem.allocationUnit = 1ULL << 50;

    const Status refused = replace(1 << 20);
    EXPECT_EQ(refused.error, std::errc::no_space_on_device);
    EXPECT_NE(refused.description.find(L" for the new data: 10.0 PB is needed and 1.0 MB is "
                                       L"free. Nothing has been changed."),
              std::wstring::npos)
        << refused.description;
    // The volume as users name it, not a folder on it.
    const std::wstring& said = refused.description;
    EXPECT_EQ(std::min(said.find(L"\\\\?\\"), said.find(layout.root.Text(L"client"))), said.npos);
    // Amounts that read alike get more decimals, up to three, and then their bytes.
    fileSystem.allocationUnit = 1 << 20;
    const auto amounts = [&](std::uint64_t freeSpace) {
        const std::wstring text = replace(freeSpace).description;
        return text.substr(std::min(text.find(L"data: "), text.size()));
    };
    EXPECT_EQ(amounts(1024),
              L"data: 10.0 MB is needed and 1.0 KB is free. Nothing has been changed.");
    EXPECT_EQ(amounts(10'484'000),
              L"data: 10.000 MB is needed and 9.998 MB is free. Nothing has been changed.");
    EXPECT_EQ(amounts(10'485'660),
              L"data: 10485760 bytes is needed and 10485660 bytes is free. Nothing has been "
              L"changed.");
    EXPECT_EQ(SnapshotTree(layout.VestroData()), old);
    EXPECT_TRUE(layout.NothingStrayInCommon());

    fileSystem.allocationUnit.reset();
    ASSERT_EQ(replace(UINT64_MAX).description, L"");
    EXPECT_EQ(replace(512 * 1024).description, L"");
    EXPECT_EQ(SnapshotTree(layout.VestroData()), SnapshotTree(layout.Data()));
}

}  // namespace
}  // namespace vestro::testing
