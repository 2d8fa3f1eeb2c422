#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "file_system/file_system.h"

namespace vestro::testing {

// Passes every call on to a real file system, writing down each call ("FolderExists <path>"),
// and fails the call numbered failAt (from 1) without passing it on, as a failing disk would.
// Given listed files, FileExists knows only those: probes of paths such as C:\Program Files,
// which a test cannot lay out on every machine.
class InstrumentedFileSystem : public FileSystem {
  public:
    explicit InstrumentedFileSystem(FileSystem& inner, std::optional<int> failAt = {},
                                    std::optional<std::set<std::wstring>> listed = {})
        : inner_(inner), failAt_(failAt), listed_(std::move(listed)) {}
    Result<bool> FileExists(const std::wstring& path) override {
        return Pass(L"FileExists " + path, Result<bool>{false, Injected()}, [&] {
            return listed_ ? Result<bool>{listed_->contains(path), {}} : inner_.FileExists(path);
        });
    }
    Result<bool> FolderExists(const std::wstring& path) override {
        return Pass(L"FolderExists " + path, Result<bool>{false, Injected()},
                    [&] { return inner_.FolderExists(path); });
    }
    Status DeleteFolder(const std::wstring& path, bool force, StepHoldBound* step) override {
        return Pass(L"DeleteFolder " + path, Injected(),
                    [&] { return inner_.DeleteFolder(path, force, step); });
    }
    Status CopyFolder(const std::wstring& source, const std::wstring& destination, bool overwrite,
                      const CopyProgress& progress) override {
        return Pass(L"CopyFolder " + source, Injected(),
                    [&] { return inner_.CopyFolder(source, destination, overwrite, progress); });
    }
    Status CopyFolderReusing(const std::wstring& source, const std::wstring& destination,
                             const std::wstring& previous, const CopyProgress& progress) override {
        return Pass(L"CopyFolderReusing " + source, Injected(), [&] {
            return inner_.CopyFolderReusing(source, destination, previous, progress);
        });
    }
    Result<CopySize> MeasureCopy(const std::wstring& source, const std::wstring& previous,
                                 std::uint64_t allocationUnit) override {
        return Pass(L"MeasureCopy " + source, Result<CopySize>{{}, Injected()},
                    [&] { return inner_.MeasureCopy(source, previous, allocationUnit); });
    }
    // Given freeSpace, the volume has that much room left; given allocationUnit, files take
    // whole units of that size.
    Result<VolumeSpace> FreeSpace(const std::wstring& folder) override {
        return Pass(L"FreeSpace " + folder, Result<VolumeSpace>{{}, Injected()}, [&] {
            Result<VolumeSpace> space = inner_.FreeSpace(folder);
            space.value.available = freeSpace.value_or(space.value.available);
            space.value.allocationUnit = allocationUnit.value_or(space.value.allocationUnit);
            return space;
        });
    }
    Result<TreeSize> MeasureFolder(const std::wstring& path) override {
        return Pass(L"MeasureFolder " + path, Result<TreeSize>{{}, Injected()},
                    [&] { return inner_.MeasureFolder(path); });
    }
    Status MoveFolder(const std::wstring& source, const std::wstring& destination,
                      StepHoldBound* step) override {
        return Pass(L"MoveFolder " + source, Injected(),
                    [&] { return inner_.MoveFolder(source, destination, step); });
    }
    Result<std::wstring> ResolvePath(const std::wstring& path) override {
        return Pass(L"ResolvePath " + path, Result<std::wstring>{{}, Injected()},
                    [&] { return inner_.ResolvePath(path); });
    }
    Result<std::vector<std::wstring>> ListNames(const std::wstring& folder) override {
        return Pass(L"ListNames " + folder, Result<std::vector<std::wstring>>{{}, Injected()},
                    [&] { return inner_.ListNames(folder); });
    }
    Result<LinkKind> ProbeLink(const std::wstring& path) override {
        return Pass(L"ProbeLink " + path, Result<LinkKind>{LinkKind::None, Injected()},
                    [&] { return inner_.ProbeLink(path); });
    }
    LockAcquisition LockExclusively(const std::wstring& path) override {
        return Pass(L"LockExclusively " + path, LockAcquisition{{nullptr, Injected()}},
                    [&] { return inner_.LockExclusively(path); });
    }

    std::optional<std::uint64_t> freeSpace, allocationUnit;
    // Shared, so that the calls can be read after the object has gone.
    std::shared_ptr<std::vector<std::wstring>> calls =
        std::make_shared<std::vector<std::wstring>>();

  private:
    template <typename Result, typename Call>
    Result Pass(std::wstring call, Result failed, const Call& passOn) {
        calls->push_back(std::move(call));
        return failAt_ == static_cast<int>(calls->size()) ? std::move(failed) : passOn();
    }
    static Status Injected() {
        return Status::Failure(std::make_error_code(std::errc::io_error), L"Injected failure.");
    }

    FileSystem& inner_;
    std::optional<int> failAt_;
    std::optional<std::set<std::wstring>> listed_;
};

}  // namespace vestro::testing
