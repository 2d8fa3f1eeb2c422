#include "posix_exclusive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "posix_failure.h"

namespace vestro {
namespace {

class PosixExclusiveLock final : public ExclusiveLock {
  public:
    PosixExclusiveLock(int descriptor, std::filesystem::path file)
        : descriptor_(descriptor), file_(std::move(file)) {}
    PosixExclusiveLock(const PosixExclusiveLock&) = delete;
    PosixExclusiveLock& operator=(const PosixExclusiveLock&) = delete;
    // Removed while still locked: whoever opened it meanwhile finds it gone from its place.
    ~PosixExclusiveLock() override {
        unlink(file_.c_str());
        close(descriptor_);
    }

  private:
    int descriptor_;
    std::filesystem::path file_;
};

bool IsStillInPlace(int descriptor, const std::filesystem::path& file) {
    struct stat opened {};
    struct stat named {};
    return fstat(descriptor, &opened) == 0 && stat(file.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

LockAcquisition LockFileExclusively(const ItemPath& file) {
    const std::wstring action = CouldNot(L"lock the file", file.display);
    const int descriptor =
        open(file.system.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        const std::error_code error(errno, std::generic_category());
        if (error == std::errc::too_many_symbolic_link_levels ||
            error == std::errc::is_a_directory) {
            LockAcquisition taken{nullptr, false, PosixFailure(error, action)};
            taken.nameTaken = true;
            return taken;
        }
        std::error_code missing;
        if (error == std::errc::permission_denied &&
            !std::filesystem::exists(std::filesystem::symlink_status(file.system, missing))) {
            const std::wstring folder = file.display.substr(0, file.display.find_last_of(L'/'));
            return {
                nullptr, false,
                PosixFailure(error, L"Files cannot be created in the folder \"" + folder + L"\"")};
        }
        return {nullptr, false, PosixFailure(error, action)};
    }
    int error = flock(descriptor, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    // A holder that has just finished removed the file this descriptor still reaches.
    if (error == 0 && !IsStillInPlace(descriptor, file.system)) {
        error = EWOULDBLOCK;
    }
    if (error != 0) {
        close(descriptor);
        return {nullptr, error == EWOULDBLOCK,
                PosixFailure(std::error_code(error, std::generic_category()), action)};
    }
    return {std::make_unique<PosixExclusiveLock>(descriptor, file.system), false,
            Status::Success()};
}

}  // namespace vestro
