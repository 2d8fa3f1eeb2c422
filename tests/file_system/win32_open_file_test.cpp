#include <windows.h>

#include <filesystem>

#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

TEST_F(FileSystemMove, AFileOpenWithoutDeleteSharingBlocksIt) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine renames a folder even while a file inside is open without "
                        "FILE_SHARE_DELETE; Windows refuses";
    }
    WriteFile(Child(L"source/open.txt"), "x");
    const HANDLE file =
        CreateFileW(Child(L"source/open.txt").c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    const Status status = fileSystem->MoveFolder(Text(L"source"), Text(L"moved"));
    CloseHandle(file);

    EXPECT_TRUE(IsDescribedFailure(status, Text(L"source")));
    EXPECT_TRUE(std::filesystem::exists(Child(L"source/open.txt")));
}

}  // namespace
}  // namespace vestro::file_system_tests
