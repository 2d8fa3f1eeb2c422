#include "file_system/path_text.h"

#include <gtest/gtest.h>

namespace vestro {
namespace {

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(TrimSpaces(L"  C:\\a b\\x.exe   "), L"C:\\a b\\x.exe");
    EXPECT_EQ(TrimSpaces(L"     "), L"");
    EXPECT_EQ(TrimSpaces(L""), L"");
    EXPECT_EQ(TrimSpaces(L"\tC:\\x.exe\n"), L"\tC:\\x.exe\n");
}

TEST(IsSameOrInside, ComparesWholeFolderNames) {
    const std::wstring data = JoinPath(JoinPath(L"", L"Media"), L"Data");
    EXPECT_TRUE(IsSameOrInside(data, data));
    EXPECT_TRUE(IsSameOrInside(JoinPath(data, L"Common"), data));
    EXPECT_TRUE(IsSameOrInside(data + kPathSeparator, data));
    EXPECT_FALSE(IsSameOrInside(data + L"2", data));
    EXPECT_FALSE(IsSameOrInside(JoinPath(L"", L"Media"), data));
}

#ifdef _WIN32
TEST(IsSameOrInside, IgnoresCaseAndSlashKindOnWindows) {
    EXPECT_TRUE(IsSameOrInside(L"c:/media/data/common/VestroData", L"C:\\Media\\Data"));
    EXPECT_TRUE(IsSameOrInside(L"C:\\Media\\\\Data\\x", L"C:\\MEDIA\\DATA\\"));
}
#endif

}  // namespace
}  // namespace vestro
