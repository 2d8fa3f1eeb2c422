#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vestro::testing {
namespace {

// VestroFile.exe is built into the same folder as this test.
std::wstring ProductPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"VestroFile.exe";
}

class ProductResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        product = LoadLibraryExW(ProductPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, product) << "cannot read VestroFile.exe beside the tests";
    }
    void TearDown() override { FreeLibrary(product); }

    std::string_view Resource(const wchar_t* type, int id) const {
        const HRSRC found = FindResourceW(product, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) {
            return {};
        }
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(product, found)));
        return {bytes, SizeofResource(product, found)};
    }

    HMODULE product = nullptr;
};

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProductResourcesTest, IconHas32And16PixelImagesOf16Colours) {
    const std::string_view group = Resource(RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), 6u);
    const auto count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(2, count);
    ASSERT_EQ(6 + 2 * sizeof(IconGroupEntry), group.size());
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(group.data() + 6);
    EXPECT_EQ(32, entries[0].width);
    EXPECT_EQ(16, entries[1].width);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(16, entries[i].colourCount);
        EXPECT_EQ(4, entries[i].bitCount);
    }
}

TEST_F(ProductResourcesTest, ManifestAsksForAdministratorCommonControls6AndPerMonitorDpi) {
    const std::string_view manifest = Resource(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    for (std::string_view wanted :
         {"level=\"requireAdministrator\"", "uiAccess=\"false\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">PerMonitorV2<",
          ">true/pm<", "<longPathAware", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(std::string_view::npos, manifest.find(wanted)) << wanted;
    }
}

TEST_F(ProductResourcesTest, VersionRecordNamesTheProductInEnglishWithUnicode) {
    const std::wstring path = ProductPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(0u, size);
    std::string record(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    // 1.0.0.0: major and minor in the high words, build and revision in the low ones.
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"ProductName", L"VestroFile"},
        {L"InternalName", L"VestroFile"},
        {L"FileVersion", L"1.00"},
        {L"ProductVersion", L"1.00"},
        {L"OriginalFilename", L"VestroFile.exe"}};
    for (const auto& [name, value] : expected) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* text = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(record.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            << name;
        EXPECT_STREQ(value, text) << name;
    }
}

}  // namespace
}  // namespace vestro::testing
