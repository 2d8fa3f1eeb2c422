#include "copy_without_reuse.h"

#include <utility>

namespace vestro::bench {
namespace {

class CopyWithoutReuse : public FileSystem {
  public:
    explicit CopyWithoutReuse(std::unique_ptr<FileSystem> inner) : inner_(std::move(inner)) {}

    Result<bool> FileExists(const std::wstring& path) override { return inner_->FileExists(path); }
    Result<bool> FolderExists(const std::wstring& path) override {
        return inner_->FolderExists(path);
    }
    Status DeleteFolder(const std::wstring& path, bool force, StepHoldBound* step) override {
        return inner_->DeleteFolder(path, force, step);
    }
    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override {
        return inner_->CopyFolder(source, destination, overwrite, progress);
    }
    Status CopyFolderReusing(const std::wstring& source, const std::wstring& destination,
                             const std::wstring&, const CopyProgress& progress) override {
        return inner_->CopyFolder(source, destination, true, progress);
    }
    // Measured against old data that is not there, so that nothing is paired or counted as kept.
    Result<CopySize> MeasureCopy(const std::wstring& source, const std::wstring& previous,
                                 std::uint64_t allocationUnit) override {
        return inner_->MeasureCopy(source, previous + L".never-reused", allocationUnit);
    }
    Result<VolumeSpace> FreeSpace(const std::wstring& folder) override {
        return inner_->FreeSpace(folder);
    }
    Result<TreeSize> MeasureFolder(const std::wstring& path) override {
        return inner_->MeasureFolder(path);
    }
    Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                      StepHoldBound* step) override {
        return inner_->MoveFolder(source, destination, step);
    }
    Result<std::wstring> ResolvePath(const std::wstring& path) override {
        return inner_->ResolvePath(path);
    }
    Result<std::vector<std::wstring>> ListNames(const std::wstring& folder) override {
        return inner_->ListNames(folder);
    }
    Result<LinkKind> ProbeLink(const std::wstring& path) override {
        return inner_->ProbeLink(path);
    }
    LockAcquisition LockExclusively(const std::wstring& path) override {
        return inner_->LockExclusively(path);
    }

  private:
    std::unique_ptr<FileSystem> inner_;
};

}  // namespace

std::unique_ptr<FileSystem> WithoutReuse(std::unique_ptr<FileSystem> fileSystem) {
    return std::make_unique<CopyWithoutReuse>(std::move(fileSystem));
}

}  // namespace vestro::bench
