#include "file_system_test.h"

namespace vestro::file_system_tests {

void FileSystemTest::SetUp() {
    FileSystemCreation creation = CreateFileSystem();
    ASSERT_FALSE(creation.status.Failed()) << creation.status.description;
    ASSERT_NE(creation.fileSystem, nullptr);
    fileSystem = std::move(creation.fileSystem);
}

::testing::AssertionResult IsDescribedFailure(const Status& status, std::wstring_view path) {
    if (!status.Failed()) {
        return ::testing::AssertionFailure() << "succeeded: \"" << status.description << "\"";
    }
    const std::wstring& text = status.description;
    if (!text.starts_with(L"Could not ")) {
        return ::testing::AssertionFailure() << "\"" << text << "\" names no operation";
    }
    const std::wstring quoted = L"\"" + std::wstring(path);
    const std::size_t at = text.find(quoted);
    if (at == std::wstring::npos) {
        return ::testing::AssertionFailure() << "\"" << text << "\" does not name " << quoted;
    }
    const std::size_t reason = text.find(L"\": ", at + quoted.size());
    if (reason == std::wstring::npos || text.size() < reason + 6 || text.back() == L'\n' ||
        text.back() == L'\r' || text.find(L"\\\\?\\") != std::wstring::npos) {
        return ::testing::AssertionFailure() << "\"" << text << "\" gives no clean reason";
    }
#ifdef _WIN32
    if (status.error.category() != std::system_category()) {
        return ::testing::AssertionFailure() << "not a Win32 error: " << status.error.message();
    }
#endif
    return ::testing::AssertionSuccess();
}

bool IsReadOnly(const std::filesystem::path& path) {
    using std::filesystem::perms;
    return (std::filesystem::status(path).permissions() & perms::owner_write) == perms::none;
}

std::string BinaryContent(std::size_t size) {
    std::string content(size, '\0');
    for (std::size_t index = 0; index < size; ++index) {
        content[index] = static_cast<char>((index * 7 + index / 256) % 256);
    }
    return content;
}

}  // namespace vestro::file_system_tests
