#include <windows.h>

#include <stdexcept>

#include "support/file_that_cannot_be_read.h"
#include "support/temporary_folder.h"

namespace vestro::testing {

FileThatCannotBeRead::FileThatCannotBeRead(const std::filesystem::path& path) {
    WriteFile(path, "held open without sharing");
    handle_ = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot hold the file open: error " +
                                 std::to_string(GetLastError()));
    }
}

FileThatCannotBeRead::~FileThatCannotBeRead() {
    CloseHandle(handle_);
}

}  // namespace vestro::testing
