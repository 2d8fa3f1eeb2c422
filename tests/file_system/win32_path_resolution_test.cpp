#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file_system/file_system.h"
#include "support/temporary_folder.h"

namespace vestro {
namespace {

// The path check asks with the user's text unchanged; the answer must be the one Windows gives
// for that text, not the one for the literal name.
TEST(FileSystemPathResolution, TextIsReadAsWindowsReadsIt) {
    testing::TemporaryFolder root;
    testing::WriteFile(root.Child(L"Tools/tool.exe"), "x");
    const std::wstring tools = root.Text(L"Tools");
    const std::unique_ptr<FileSystem> fileSystem = CreateFileSystem().fileSystem;
    ASSERT_NE(fileSystem, nullptr);

    struct Row {
        std::wstring text;
        bool file;
        bool folder;
    };
    for (const Row& row : {
             Row{tools + L"\\tool.exe  ", true, false},
             Row{tools + L"\\tool.exe. .", true, false},
             Row{tools + L"\\TOOL.EXE", true, false},
             Row{tools + L"\\.\\missing\\..\\tool.exe", true, false},
             Row{tools + L"\\tool.exe\\", false, false},
             Row{tools + L"\\tool.exe\\\\", false, false},
             Row{L" " + tools + L"\\tool.exe", false, false},
             Row{tools + L" \\tool.exe", false, false},
             Row{tools + L"\\", false, true},
             Row{tools + L". ", false, true},
         }) {
        EXPECT_EQ(fileSystem->FileExists(row.text).exists, row.file) << row.text;
        EXPECT_EQ(fileSystem->FolderExists(row.text).exists, row.folder) << row.text;
    }

    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(root.Path());
    const bool relative = fileSystem->FileExists(L"Tools\\tool.exe ").exists;
    std::filesystem::current_path(previous);
    EXPECT_TRUE(relative);
}

}  // namespace
}  // namespace vestro
