#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file_system/file_system.h"

namespace vestro::testing {

// Passes every call on to a real file system, writing down each call ("FolderExists <path>"),
// and fails the call numbered failAt (from 1) without passing it on, as a failing disk would.
class InstrumentedFileSystem : public FileSystem {
  public:
    explicit InstrumentedFileSystem(FileSystem& inner, std::optional<int> failAt = std::nullopt)
        : inner_(inner), failAt_(failAt) {}
    explicit InstrumentedFileSystem(std::unique_ptr<FileSystem> owned,
                                    std::optional<int> failAt = std::nullopt)
        : owned_(std::move(owned)), inner_(*owned_), failAt_(failAt) {}

    ExistsResult FileExists(const std::wstring& path) override;
    ExistsResult FolderExists(const std::wstring& path) override;
    Status DeleteFolder(const std::wstring& path, bool force) override;
    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override;
    FolderSize MeasureFolder(const std::wstring& path) override;
    Status MoveFolder(const std::wstring& source, const std::wstring& destination) override;
    ResolvedPath ResolvePath(const std::wstring& path) override;
    LinkProbe ProbeLink(const std::wstring& path) override;
    LockAcquisition LockExclusively(const std::wstring& path) override;

    const std::vector<std::wstring>& calls() const { return *log_; }
    // The same calls, still readable after the object has been released.
    std::shared_ptr<const std::vector<std::wstring>> Log() const { return log_; }
    bool injectedFailure = false;

    static constexpr wchar_t kInjectedFailureText[] = L"Injected failure.";

  private:
    // Records the call; true when this one is to fail.
    bool Record(std::wstring call);
    static Status InjectedFailure();

    std::unique_ptr<FileSystem> owned_;
    FileSystem& inner_;
    std::optional<int> failAt_;
    std::shared_ptr<std::vector<std::wstring>> log_ = std::make_shared<std::vector<std::wstring>>();
};

}  // namespace vestro::testing
