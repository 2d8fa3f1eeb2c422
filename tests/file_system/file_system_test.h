#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "file_system/file_system.h"
#include "support/file_that_cannot_be_read.h"
#include "support/folder_link.h"
#include "support/temporary_folder.h"

namespace vestro::file_system_tests {

using testing::FileThatCannotBeRead;
using testing::FolderLinks;
using testing::MakeFolder;
using testing::MakeReadOnly;
using testing::RunningUnderWine;
using testing::SnapshotTree;
using testing::TemporaryFolder;
using testing::TreeSnapshot;
using testing::WriteFile;

// The platform's file system, and a fresh temporary folder to work in.
class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override;

    std::wstring Text(std::wstring_view relative) const { return root.Text(relative); }
    std::filesystem::path Child(std::wstring_view relative) const { return root.Child(relative); }

    TemporaryFolder root;
    std::unique_ptr<FileSystem> fileSystem;
};

// One fixture, a suite name per group of behaviour.
using FileSystemExistence = FileSystemTest;
using FileSystemDelete = FileSystemTest;
using FileSystemCopy = FileSystemTest;
using FileSystemMove = FileSystemTest;
using FileSystemLongPath = FileSystemTest;

// A failure whose description names the path as the caller wrote it, followed by a reason.
::testing::AssertionResult IsDescribedFailure(const Status& status, std::wstring_view path);

// Only the owner-write bit counts: on Windows it mirrors the read-only attribute.
bool IsReadOnly(const std::filesystem::path& path);

// Every byte value, in an order that no block-sized copy reproduces by accident.
std::string BinaryContent(std::size_t size);

}  // namespace vestro::file_system_tests
