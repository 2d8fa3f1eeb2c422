#include "support/instrumented_file_system.h"

#include <system_error>

namespace vestro::testing {

bool InstrumentedFileSystem::Record(std::wstring call) {
    log_->push_back(std::move(call));
    const bool fail = failAt_ && static_cast<int>(log_->size()) == *failAt_;
    injectedFailure = injectedFailure || fail;
    return fail;
}

Status InstrumentedFileSystem::InjectedFailure() {
    return Status::Failure(std::make_error_code(std::errc::io_error), kInjectedFailureText);
}

ExistsResult InstrumentedFileSystem::FileExists(const std::wstring& path) {
    if (Record(L"FileExists " + path)) {
        return {false, InjectedFailure()};
    }
    return inner_.FileExists(path);
}

ExistsResult InstrumentedFileSystem::FolderExists(const std::wstring& path) {
    if (Record(L"FolderExists " + path)) {
        return {false, InjectedFailure()};
    }
    return inner_.FolderExists(path);
}

Status InstrumentedFileSystem::DeleteFolder(const std::wstring& path, bool force) {
    if (Record(L"DeleteFolder " + path)) {
        return InjectedFailure();
    }
    return inner_.DeleteFolder(path, force);
}

Status InstrumentedFileSystem::CopyFolder(const std::wstring& source,
                                          const std::wstring& destination, bool overwrite,
                                          const CopyProgress& progress) {
    if (Record(L"CopyFolder " + source + L" -> " + destination)) {
        return InjectedFailure();
    }
    return inner_.CopyFolder(source, destination, overwrite, progress);
}

FolderSize InstrumentedFileSystem::MeasureFolder(const std::wstring& path) {
    if (Record(L"MeasureFolder " + path)) {
        return {0, 0, InjectedFailure()};
    }
    return inner_.MeasureFolder(path);
}

Status InstrumentedFileSystem::MoveFolder(const std::wstring& source,
                                          const std::wstring& destination) {
    if (Record(L"MoveFolder " + source + L" -> " + destination)) {
        return InjectedFailure();
    }
    return inner_.MoveFolder(source, destination);
}

ResolvedPath InstrumentedFileSystem::ResolvePath(const std::wstring& path) {
    if (Record(L"ResolvePath " + path)) {
        return {{}, InjectedFailure()};
    }
    return inner_.ResolvePath(path);
}

LinkProbe InstrumentedFileSystem::ProbeLink(const std::wstring& path) {
    if (Record(L"ProbeLink " + path)) {
        return {LinkKind::None, InjectedFailure()};
    }
    return inner_.ProbeLink(path);
}

LockAcquisition InstrumentedFileSystem::LockExclusively(const std::wstring& path) {
    if (Record(L"LockExclusively " + path)) {
        return {nullptr, false, InjectedFailure()};
    }
    return inner_.LockExclusively(path);
}

}  // namespace vestro::testing
