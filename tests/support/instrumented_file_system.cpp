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
                                          const std::wstring& destination, bool overwrite) {
    if (Record(L"CopyFolder " + source + L" -> " + destination)) {
        return InjectedFailure();
    }
    return inner_.CopyFolder(source, destination, overwrite);
}

Status InstrumentedFileSystem::MoveFolder(const std::wstring& source,
                                          const std::wstring& destination) {
    if (Record(L"MoveFolder " + source + L" -> " + destination)) {
        return InjectedFailure();
    }
    return inner_.MoveFolder(source, destination);
}

}  // namespace vestro::testing
