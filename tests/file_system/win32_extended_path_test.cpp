#include "file_system/win32_extended_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace vestro {
namespace {

// A share can't be reached from the test machine, so its form is checked on the text alone.
TEST(FileSystemExtendedPath, AbsolutePathsGetTheLongForm) {
    EXPECT_EQ(ToExtendedPath(L"C:\\Tarno\\Common").text, L"\\\\?\\C:\\Tarno\\Common");
    EXPECT_EQ(ToExtendedPath(L"C:/Tarno/Common/").text, L"\\\\?\\C:\\Tarno\\Common");
    EXPECT_EQ(ToExtendedPath(L"C:\\Tarno\\..\\Other\\.\\Common").text, L"\\\\?\\C:\\Other\\Common");
    EXPECT_EQ(ToExtendedPath(L"C:\\").text, L"\\\\?\\C:\\");
    EXPECT_EQ(ToExtendedPath(L"\\\\server\\share\\Common").text,
              L"\\\\?\\UNC\\server\\share\\Common");
    EXPECT_EQ(ToExtendedPath(L"\\\\?\\C:\\as is").text, L"\\\\?\\C:\\as is");
}

TEST(FileSystemExtendedPath, RelativePathsStartFromTheCurrentFolder) {
    const std::wstring current = std::filesystem::current_path().wstring();

    EXPECT_EQ(ToExtendedPath(L"Data\\file.txt").text, L"\\\\?\\" + current + L"\\Data\\file.txt");
}

TEST(FileSystemExtendedPath, TextThatNamesNothingIsRefused) {
    for (const wchar_t* text : {L" C:\\Data", L"C:\\a?b", L"C:\\a*", L"C:\\a<b", L"C:\\a>b",
                                L"C:\\a|b", L"C:\\a\"b", L"C:\\a:b"}) {
        EXPECT_EQ(ToExtendedPath(text).error, static_cast<unsigned long>(ERROR_INVALID_NAME))
            << text;
    }
    EXPECT_NE(ToExtendedPath(L"").error, 0u);
}

}  // namespace
}  // namespace vestro
