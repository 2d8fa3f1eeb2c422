#pragma once

#include <set>
#include <string>

#include "file_system/file_system.h"

namespace vestro::testing {

// A file system that has exactly the listed files and nothing else, for probes whose paths
// (such as C:\Program Files) a test cannot lay out on every machine. It changes nothing.
class ListedFileSystem : public FileSystem {
  public:
    explicit ListedFileSystem(std::set<std::wstring> files) : files_(std::move(files)) {}

    ExistsResult FileExists(const std::wstring& path) override {
        return {files_.contains(path), {}};
    }
    ExistsResult FolderExists(const std::wstring&) override { return {}; }
    Status DeleteFolder(const std::wstring&, bool) override { return Unsupported(); }
    Status CopyFolder(const std::wstring&, const std::wstring&, bool,
                      const CopyProgress&) override {
        return Unsupported();
    }
    FolderSize MeasureFolder(const std::wstring&) override { return {0, 0, Unsupported()}; }
    Status MoveFolder(const std::wstring&, const std::wstring&) override { return Unsupported(); }
    ResolvedPath ResolvePath(const std::wstring&) override { return {{}, Unsupported()}; }
    LinkProbe ProbeLink(const std::wstring&) override { return {}; }
    LockAcquisition LockExclusively(const std::wstring&) override {
        return {nullptr, false, Unsupported()};
    }

  private:
    static Status Unsupported() {
        return Status::Failure(std::make_error_code(std::errc::read_only_file_system),
                               L"This test file system changes nothing.");
    }
    std::set<std::wstring> files_;
};

}  // namespace vestro::testing
