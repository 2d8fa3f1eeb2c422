#include "posix_file_copy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "posix_failure.h"

namespace vestro {
namespace {

class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    // The error a delayed write may only report here; 0 when all went well.
    int Close() {
        const int result = ::close(descriptor_);
        descriptor_ = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int descriptor_;
};

std::error_code LastError() {
    return {errno, std::generic_category()};
}

Status Failure(std::error_code error, const ItemPath& source, const ItemPath& destination) {
    return PosixFailure(error, CouldNot(L"copy the file", source.display) + L" to \"" +
                                   destination.display + L"\"");
}

}  // namespace

// Through descriptors: each name is looked up once, and the size and permissions come from the
// open source rather than from further lookups. The kernel moves the content.
Status CopyOneFile(const ItemPath& source, const ItemPath& destination, bool overwrite,
                   std::uint64_t& bytesCopied) {
    // Non-blocking, so that a named pipe in the tree fails below instead of waiting for a writer.
    Descriptor from(::open(source.system.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (from.get() < 0) {
        return Failure(LastError(), source, destination);
    }
    struct stat information {};
    if (::fstat(from.get(), &information) != 0) {
        return Failure(LastError(), source, destination);
    }
    if (!S_ISREG(information.st_mode)) {
        return Failure(std::make_error_code(std::errc::not_supported), source, destination);
    }
    const mode_t bits = information.st_mode & 07777;
    const int create = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (overwrite ? 0 : O_EXCL);
    // A new file's descriptor is writable whatever bits it is created with.
    Descriptor to(::open(destination.system.c_str(), create, bits & 0777));
    if (to.get() < 0) {
        return Failure(LastError(), source, destination);
    }
    bool bitsSet = false;
    if (overwrite) {
        // Emptied only once it is known not to be the source under another name (a hard link).
        struct stat existing {};
        if (::fstat(to.get(), &existing) != 0) {
            return Failure(LastError(), source, destination);
        }
        bitsSet = (existing.st_mode & 07777) == bits;
        if (existing.st_dev == information.st_dev && existing.st_ino == information.st_ino) {
            return Failure(std::make_error_code(std::errc::file_exists), source, destination);
        }
        if (existing.st_size != 0 && ::ftruncate(to.get(), 0) != 0) {
            return Failure(LastError(), source, destination);
        }
    }
    // Exactly the source's bits, whatever the umask or the folder's default access list.
    if (!bitsSet && ::fchmod(to.get(), bits) != 0) {
        return Failure(LastError(), source, destination);
    }
    std::uint64_t copied = 0;
    while (copied < static_cast<std::uint64_t>(information.st_size)) {
        const ssize_t sent = ::sendfile(to.get(), from.get(), nullptr, 1 << 30);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failure(LastError(), source, destination);
        }
        if (sent == 0) {
            break;  // the source shrank meanwhile: what it holds now is the copy
        }
        copied += static_cast<std::uint64_t>(sent);
    }
    if (const int error = to.Close(); error != 0) {
        return Failure({error, std::generic_category()}, source, destination);
    }
    bytesCopied = copied;
    return Status::Success();
}

}  // namespace vestro
