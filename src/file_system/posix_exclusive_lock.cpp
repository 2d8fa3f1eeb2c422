#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform.h"

namespace vestro {
namespace {

// Written into the lock file: what tells a lock of ours from another file under its name.
constexpr std::string_view kHolderMark = "VestroFile";

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
    return fstat(descriptor, &opened) == 0 && lstat(file.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

LockAcquisition Failed(std::error_code error, const std::wstring& action) {
    return {{nullptr, SystemFailure(error, action)}};
}

LockAcquisition NameTaken(const std::wstring& action) {
    LockAcquisition taken = Failed(std::make_error_code(std::errc::file_exists), action);
    taken.nameTaken = true;
    return taken;
}

LockAcquisition Locked(int descriptor, const ItemPath& file, const std::wstring& action) {
    int error = flock(descriptor, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    // A holder that has just finished removed the file this descriptor still reaches.
    if (error == 0 && !IsStillInPlace(descriptor, file.system)) {
        error = EWOULDBLOCK;
    }
    if (error != 0) {
        close(descriptor);
        return {{nullptr, SystemFailure(std::error_code(error, std::generic_category()), action)},
                error == EWOULDBLOCK};
    }
    return {{std::make_unique<PosixExclusiveLock>(descriptor, file.system), Status::Success()}};
}

// Opened only to read, never following a link: a plain file with a single name that holds the
// mark is the lock of a copy, running (locked) or ended; one that holds nothing yet and is locked
// is a copy's that is just writing its mark. Anything else is left as it is.
LockAcquisition TakeEndedLock(const ItemPath& file, const std::wstring& action) {
    const int descriptor =
        open(file.system.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        const std::error_code error = LastError();
        return error == std::errc::too_many_symbolic_link_levels ? NameTaken(action)
                                                                 : Failed(error, action);
    }
    struct stat information {};
    if (fstat(descriptor, &information) != 0 || !S_ISREG(information.st_mode) ||
        information.st_nlink != 1) {
        close(descriptor);
        return NameTaken(action);
    }
    char content[kHolderMark.size() + 1] = {};
    const ssize_t length = read(descriptor, content, sizeof(content));
    const bool marked = std::string_view(content, length > 0 ? length : 0) == kHolderMark;
    if (length != 0 && !marked) {
        close(descriptor);
        return NameTaken(action);
    }
    if (!marked && flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        close(descriptor);
        return NameTaken(action);
    }
    return Locked(descriptor, file, action);
}

}  // namespace

LockAcquisition LockFileExclusively(const ItemPath& file) {
    const std::wstring action = CouldNot(L"lock the file", file.display);
    const int descriptor =
        open(file.system.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        const std::error_code error = LastError();
        if (error == std::errc::file_exists) {
            return TakeEndedLock(file, action);
        }
        if (error == std::errc::permission_denied) {
            const std::wstring folder = file.display.substr(0, file.display.find_last_of(L'/'));
            return Failed(error, L"Files cannot be created in the folder \"" + folder + L"\"");
        }
        return Failed(error, action);
    }
    LockAcquisition lock = Locked(descriptor, file, action);
    if (lock.value && write(descriptor, kHolderMark.data(), kHolderMark.size()) !=
                          static_cast<ssize_t>(kHolderMark.size())) {
        return Failed(LastError(), action);
    }
    return lock;
}

}  // namespace vestro
