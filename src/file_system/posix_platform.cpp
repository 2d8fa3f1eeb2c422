#include <dirent.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <locale>
#include <stdexcept>

#include "file_system/path_conversion.h"
#include "platform.h"
#include "work_pool.h"

namespace vestro {
namespace fs = std::filesystem;

namespace {

// A failed call that left errno unset is still a failure, never read as success.
std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// The system would read text with a zero character in it only up to that character, and so
// answer for another path.
bool HasZeroCharacter(const std::wstring& path) {
    return path.find(L'\0') != std::wstring::npos;
}

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

ItemKind KindOf(mode_t mode) {
    return S_ISDIR(mode) ? ItemKind::Folder : S_ISLNK(mode) ? ItemKind::OtherLink : ItemKind::File;
}

// A link is told by what it leads to; one that leads nowhere is a link to no folder.
ItemKind KindOfLink(int folder, const char* name) {
    struct stat target {};
    return ::fstatat(folder, name, &target, 0) == 0 && S_ISDIR(target.st_mode)
               ? ItemKind::FolderLink
               : ItemKind::OtherLink;
}

// Upper case for every letter, not only ASCII as in the "C" locale, without touching the
// program's global locale.
const std::ctype<wchar_t>& LetterCase() {
    static const std::locale locale = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return std::use_facet<std::ctype<wchar_t>>(locale);
}

}  // namespace

ItemPath ItemPath::Child(std::wstring_view name) const {
    std::wstring childDisplay = display;
    if (!childDisplay.empty() && childDisplay.back() != L'/') {
        childDisplay.push_back(L'/');
    }
    childDisplay += name;
    return {system / ToFileSystemPath(name), std::move(childDisplay)};
}

std::error_code ToItemPath(const std::wstring& text, ItemPath& item) {
    if (HasZeroCharacter(text)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    item = {ToFileSystemPath(text), text};
    return {};
}

Status SystemFailure(std::error_code error, const std::wstring& action) {
    // The system's messages are UTF-8, like its paths.
    std::wstring reason = ToPathText(fs::path(error.message()));
    if (!reason.empty() && reason.back() != L'.') {
        reason.push_back(L'.');
    }
    return Status::Failure(error, action + L": " + reason);
}

Status OutOfMemory() noexcept {
    Status status;
    status.error = std::make_error_code(std::errc::not_enough_memory);
    try {
        status.description = L"Not enough memory.";
    } catch (const std::bad_alloc&) {
    }
    return status;
}

std::error_code ErrorOf(Refusal refusal) {
    switch (refusal) {
        case Refusal::NotAFolder:
            return std::make_error_code(std::errc::not_a_directory);
        case Refusal::NotFound:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case Refusal::NameTaken:
            return std::make_error_code(std::errc::file_exists);
        case Refusal::LinkLoop:
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        case Refusal::InvalidPath:
            break;
    }
    return std::make_error_code(std::errc::invalid_argument);
}

bool ExistsAs(const std::wstring& text, bool folder) {
    std::error_code error;
    const fs::file_status status =
        HasZeroCharacter(text) ? fs::file_status() : fs::status(ToFileSystemPath(text), error);
    return !error && fs::exists(status) && fs::is_directory(status) == folder;
}

// The kernel's own record of what the descriptor reached.
std::error_code ReadPlaceOf(std::intptr_t handle, Place& place) {
    const int descriptor = static_cast<int>(handle);
    struct stat information {};
    std::error_code error;
    const fs::path reached = fs::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error);
    if (error || ::fstat(descriptor, &information) != 0) {
        return error ? error : LastError();
    }
    place = {information.st_dev, ToPathText(reached)};
    return {};
}

std::error_code ReadItem(const ItemPath& path, Item& item) {
    struct stat information {};
    if (::lstat(path.system.c_str(), &information) != 0) {
        const std::error_code error = LastError();
        item.kind = ItemKind::Missing;
        return error == std::errc::no_such_file_or_directory ? std::error_code() : error;
    }
    item.kind = S_ISLNK(information.st_mode) ? KindOfLink(AT_FDCWD, path.system.c_str())
                                             : KindOf(information.st_mode);
    return {};
}

OpenFolder::~OpenFolder() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

std::error_code OpenFolder::Open(ItemPath path) {
    path_ = std::move(path);
    handle_ = ::open(path_.system.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return handle_ < 0 ? LastError() : std::error_code();
}

std::error_code OpenFolder::OpenInside(const OpenFolder& parent, const Item& subfolder) {
    path_ = parent.path_.Child(subfolder.name);
    const int noLink = subfolder.kind == ItemKind::Folder ? O_NOFOLLOW : 0;
    handle_ = ::openat(static_cast<int>(parent.handle_), path_.system.filename().c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC | noLink);
    return handle_ < 0 ? LastError() : std::error_code();
}

std::wstring OpenFolder::Shown() const {
    Place place;
    return ReadPlace(place) ? path_.display : place.path;
}

// The listing's own types spare a look at each item; only links, sizes and systems that leave
// the type out cost one, relative to the open folder.
std::error_code OpenFolder::List(std::vector<Item>& items, bool withSizes) const {
    const int folder = static_cast<int>(handle_);
    const int listed = ::dup(folder);
    DIR* listing = listed < 0 ? nullptr : ::fdopendir(listed);
    if (listing == nullptr) {
        const std::error_code error = LastError();
        if (listed >= 0) {
            ::close(listed);
        }
        return error;
    }
    ::rewinddir(listing);
    std::error_code error;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (entry == nullptr) {
            error = errno != 0 ? LastError() : std::error_code();
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        Item item{ToPathText(fs::path(entry->d_name))};
        struct stat information {};
        const bool lookedAt = entry->d_type == DT_UNKNOWN || (withSizes && entry->d_type == DT_REG);
        if (lookedAt && ::fstatat(folder, entry->d_name, &information, AT_SYMLINK_NOFOLLOW) != 0) {
            error = LastError();
            break;
        }
        const mode_t mode = lookedAt ? information.st_mode : DTTOIF(entry->d_type);
        item.kind = S_ISLNK(mode) ? KindOfLink(folder, entry->d_name) : KindOf(mode);
        item.size = static_cast<std::uint64_t>(information.st_size);
        item.attributes = information.st_mode & 07777;
        item.lastWrite = information.st_mtim.tv_sec * 1'000'000'000LL + information.st_mtim.tv_nsec;
        items.push_back(std::move(item));
    }
    ::closedir(listing);
    return error;
}

std::error_code OpenFolder::ReadIdentity(Identity& identity) const {
    struct stat information {};
    if (::fstat(static_cast<int>(handle_), &information) != 0) {
        return LastError();
    }
    identity = {information.st_dev, information.st_ino};
    return {};
}

Status CreateFolder(const ItemPath& folder) {
    std::error_code error;
    fs::create_directory(folder.system, error);
    return error ? SystemFailure(error, CouldNot(L"create the folder", folder.display))
                 : Status::Success();
}

// Through descriptors: the source is opened relative to its folder, and its size and
// permissions come from the open file rather than from further lookups. The kernel moves the
// content.
Status CopyOneFile(const OpenFolder& folder, const Item& file, const ItemPath& destination,
                   bool overwrite, const HoldWait&, const ReadTree& tree, std::uint64_t& bytes) {
    const auto failure = [&](std::error_code error) {
        return SystemFailure(
            error, CouldNot(L"copy the file", folder.Path().Child(file.name).display) + L" to \"" +
                       destination.display + L"\"");
    };
    // Non-blocking, so that a named pipe in the tree fails below instead of waiting for a writer.
    // A plain file is never read through a link that took its place since the listing.
    const int noLink = file.kind == ItemKind::File ? O_NOFOLLOW : 0;
    Descriptor from(::openat(static_cast<int>(folder.Handle()), ToFileSystemPath(file.name).c_str(),
                             O_RDONLY | O_CLOEXEC | O_NONBLOCK | noLink));
    struct stat information {};
    if (from.get() < 0 || ::fstat(from.get(), &information) != 0) {
        return failure(LastError());
    }
    Place place;
    if (noLink == 0) {
        if (const std::error_code error = ReadPlaceOf(from.get(), place)) {
            return failure(error);
        }
        if (!place.IsInside(tree.place)) {
            return LinkLeadsOutside(tree.root.display, folder.Path().Child(file.name).display,
                                    place.path);
        }
    }
    if (!S_ISREG(information.st_mode)) {
        return failure(std::make_error_code(std::errc::not_supported));
    }
    const mode_t bits = information.st_mode & 07777;
    const int create = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | (overwrite ? 0 : O_EXCL);
    // A new file's descriptor is writable whatever bits it is created with.
    Descriptor to(::open(destination.system.c_str(), create, bits & 0777));
    if (to.get() < 0) {
        return failure(LastError());
    }
    bool bitsSet = false;
    if (overwrite) {
        // Emptied only once it is known not to be the source under another name (a hard link).
        struct stat existing {};
        if (::fstat(to.get(), &existing) != 0) {
            return failure(LastError());
        }
        bitsSet = (existing.st_mode & 07777) == bits;
        if (existing.st_dev == information.st_dev && existing.st_ino == information.st_ino) {
            return failure(std::make_error_code(std::errc::file_exists));
        }
        if (existing.st_size != 0 && ::ftruncate(to.get(), 0) != 0) {
            return failure(LastError());
        }
    }
    // Exactly the source's bits, whatever the umask or the folder's default access list.
    if (!bitsSet && ::fchmod(to.get(), bits) != 0) {
        return failure(LastError());
    }
    std::uint64_t copied = 0;
    while (copied < static_cast<std::uint64_t>(information.st_size)) {
        const ssize_t sent = ::sendfile(to.get(), from.get(), nullptr, 1 << 30);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(LastError());
        }
        if (sent == 0) {
            break;  // the source shrank meanwhile: what it holds now is the copy
        }
        copied += static_cast<std::uint64_t>(sent);
    }
    // The next copy reuses a file only with the same last-write time.
    const timespec times[2] = {{0, UTIME_OMIT}, information.st_mtim};
    if (::futimens(to.get(), times) != 0) {
        return failure(LastError());
    }
    if (const int error = to.Close(); error != 0) {
        return failure({error, std::generic_category()});
    }
    bytes = copied;
    return Status::Success();
}

const std::uint32_t kCopiedAttributes = 07777;

FileReader::~FileReader() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

std::error_code FileReader::Open(const OpenFolder& folder, const Item& file, const ReadTree& tree) {
    path_ = folder.Path().Child(file.name);
    handle_ = ::openat(static_cast<int>(folder.Handle()), ToFileSystemPath(file.name).c_str(),
                       O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    struct stat information {};
    Place place;
    if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &information) != 0) {
        return LastError();
    }
    if (const std::error_code error = ReadPlaceOf(handle_, place)) {
        return error;
    }
    return S_ISREG(information.st_mode) && place.IsInside(tree.place)
               ? std::error_code()
               : std::make_error_code(std::errc::not_supported);
}

std::error_code FileReader::Read(char* buffer, std::size_t size, std::size_t& read) {
    for (;;) {
        const ssize_t result = ::read(static_cast<int>(handle_), buffer, size);
        if (result >= 0) {
            read = static_cast<std::size_t>(result);
            return {};
        }
        if (errno != EINTR) {
            return LastError();
        }
    }
}

// Through the descriptor's own entry in /proc: the very file that was read, whatever stands at
// its name by now.
std::error_code FileReader::LinkAs(const ItemPath& destination) const {
    const std::string opened = "/proc/self/fd/" + std::to_string(handle_);
    return ::linkat(AT_FDCWD, opened.c_str(), AT_FDCWD, destination.system.c_str(),
                    AT_SYMLINK_FOLLOW) == 0
               ? std::error_code()
               : LastError();
}

// The volume is named by its mount point: the highest folder on the way with the same device.
Result<VolumeSpace> ReadVolumeSpace(const ItemPath& folder) {
    struct statvfs space {};
    struct stat information {};
    if (::statvfs(folder.system.c_str(), &space) != 0 ||
        ::stat(folder.system.c_str(), &information) != 0) {
        return {{},
                SystemFailure(LastError(), CouldNot(L"read the free space of", folder.display))};
    }
    std::error_code error;
    fs::path mount = fs::canonical(folder.system, error);
    for (struct stat above{}; !error && mount.has_relative_path() &&
                              ::stat(mount.parent_path().c_str(), &above) == 0 &&
                              above.st_dev == information.st_dev;) {
        mount = mount.parent_path();
    }
    return {{ToPathText(mount), static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize,
             std::uint64_t{space.f_frsize}},
            Status::Success()};
}

// With discard on (as on many SSD and virtual disks), ext4 without a journal tells the disk of a
// file's freed blocks inside the unlink, and the thread waits for it: deletes wait side by side.
unsigned RemovalWorkers(unsigned requested) {
    return ChooseTreeWorkers(requested, 16, 32);
}

// Removing an item needs write and search permission on its folder, not on the item; a
// read-only folder is opened up first so that this works without root's privileges too.
void OpenUpForRemoval(const ItemPath& folder, bool force) {
    if (force) {
        std::error_code ignored;  // the removal that follows reports what still stands in the way
        fs::permissions(folder.system, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

Status RemoveItem(const OpenFolder& folder, const Item& item, bool force, const HoldWait&) {
    const bool link = item.kind != ItemKind::File;
    const int descriptor = static_cast<int>(folder.Handle());
    const fs::path name = ToFileSystemPath(item.name);
    std::error_code error;
    struct stat information {};
    if (!force && !link &&
        ::fstatat(descriptor, name.c_str(), &information, AT_SYMLINK_NOFOLLOW) == 0 &&
        (information.st_mode & 0222) == 0) {
        error = std::make_error_code(std::errc::permission_denied);
    } else if (::unlinkat(descriptor, name.c_str(), 0) != 0) {
        error = LastError();
    }
    return error ? SystemFailure(error, CouldNot(link ? L"delete the link" : L"delete the file",
                                                 folder.Path().Child(item.name).display))
                 : Status::Success();
}

Status RemoveFolder(const ItemPath& folder, const Item&, bool, const HoldWait&,
                    std::wstring_view what) {
    std::error_code error;
    fs::remove(folder.system, error);
    return error ? SystemFailure(error, CouldNot(what, folder.display)) : Status::Success();
}

std::error_code PathReached(const ItemPath& item, std::wstring& reached) {
    std::error_code error;
    reached = ToPathText(fs::canonical(item.system, error));
    return error;
}

std::weak_ordering CompareAsWindows(const std::wstring& left, const std::wstring& right) {
    const std::ctype<wchar_t>& letterCase = LetterCase();
    return std::lexicographical_compare_three_way(
        left.begin(), left.end(), right.begin(), right.end(),
        [&](wchar_t a, wchar_t b) { return letterCase.toupper(a) <=> letterCase.toupper(b); });
}

Status MoveItem(const ItemPath& from, const ItemPath& to, const HoldWait&) {
    std::error_code error;
    // A link is moved as itself, whatever it leads to.
    const fs::file_status sourceStatus = fs::symlink_status(from.system, error);
    if (!error && !fs::is_symlink(sourceStatus) && !fs::is_directory(sourceStatus)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error) {
        // rename() would replace an empty folder; a move never replaces anything.
        std::error_code probeError;
        if (fs::exists(fs::symlink_status(to.system, probeError))) {
            error = std::make_error_code(std::errc::file_exists);
        } else {
            fs::rename(from.system, to.system, error);
        }
    }
    return error ? SystemFailure(error, CouldNot(L"move the folder", from.display) + L" to \"" +
                                            to.display + L"\"")
                 : Status::Success();
}

Result<std::wstring> ResolveItemPath(const ItemPath& item) {
    std::error_code error;
    const fs::path absolute = fs::absolute(item.system, error);
    const fs::path resolved = error ? fs::path() : fs::weakly_canonical(absolute, error);
    if (error) {
        return {{}, SystemFailure(error, CouldNot(L"resolve the path", item.display))};
    }
    return {ToPathText(resolved), Status::Success()};
}

// A symbolic link is renamed and removed as itself here.
Result<LinkKind> ProbeLinkEntry(const ItemPath& entry) {
    std::error_code error;
    const bool link = fs::is_symlink(fs::symlink_status(entry.system, error));
    return {link ? LinkKind::Link : LinkKind::None, Status::Success()};
}

}  // namespace vestro
