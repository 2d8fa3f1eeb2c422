#include "win32_platform.h"

#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <memory>

#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "file_system/win32_system_library.h"
#include "platform.h"
#include "work_pool.h"

namespace vestro {
namespace {

struct LocalMemoryRelease {
    void operator()(wchar_t* memory) const { LocalFree(memory); }
};

// ERROR_SUCCESS gives no error.
std::error_code SystemError(DWORD error) {
    return {static_cast<int>(error), std::system_category()};
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The reparse tag of the item at the path, or 0 when it has none or it cannot be read.
DWORD ReadReparseTag(const std::wstring& systemPath) {
    WIN32_FIND_DATAW entry{};
    const OwnedFindHandle listing(FindFirstFileExW(systemPath.c_str(), FindExInfoBasic, &entry,
                                                   FindExSearchNameMatch, nullptr, 0));
    if (!listing) {
        return 0;
    }
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? entry.dwReserved0 : 0;
}

SizedText ReadFinalPath(HANDLE item, DWORD volumeForm) {
    return ReadSizedText([item, volumeForm](wchar_t* buffer, DWORD capacity) {
        return GetFinalPathNameByHandleW(item, buffer, capacity, volumeForm);
    });
}

// A volume without a drive letter has no "C:\" form; its GUID form names it just as uniquely.
SizedText FinalPathOf(HANDLE item) {
    SizedText final = ReadFinalPath(item, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (final.error != ERROR_SUCCESS) {
        final = ReadFinalPath(item, FILE_NAME_NORMALIZED | VOLUME_NAME_GUID);
    }
    final.text = ToPlainPath(final.text);
    return final;
}

SizedText FinalPathReached(const std::wstring& systemPath) {
    const OwnedHandle handle = OpenToReadAttributes(systemPath);
    if (!handle) {
        return {{}, GetLastError()};
    }
    return FinalPathOf(handle.Get());
}

DWORD ClearReadOnly(const ItemPath& item, DWORD attributes, bool force, const HoldWait& wait) {
    if (!force || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return ERROR_SUCCESS;
    }
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
    const DWORD kept = attributes & kSettable;
    return CallWhileHeld(wait, [&] {
        return SetFileAttributesW(item.system.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    });
}

// Opens an existing item, trying again while another program's hold keeps it from being opened.
DWORD OpenWhileHeld(const HoldWait& wait, const std::wstring& path, DWORD access, DWORD sharing,
                    DWORD flags, OwnedHandle& handle) {
    return CallWhileHeld(wait, [&] {
        handle.Reset(
            CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, flags, nullptr));
        return static_cast<bool>(handle);
    });
}

DWORD ClearReadOnlyOf(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // times left at 0: unchanged
    basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0) {
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    }
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) ? ERROR_SUCCESS
                                                                                  : GetLastError();
}

// FileDispositionInfoEx and its flags (Windows 10 1809), which these headers give only to
// builds for that version.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
struct DispositionEx {
    DWORD flags;
};
constexpr DWORD kDeleteIgnoringReadOnly = 0x1 | 0x10;

// A file with several names shares its attributes among them: a reused file of new data still
// has its old name here. Windows 10 1809 and later delete a read-only file as it is; elsewhere
// (Wine too) the attribute is cleared for the delete and set again once the file is marked.
DWORD MarkForDeletion(HANDLE file, DWORD attributes, bool force, const HoldWait& wait) {
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !force) {
        return ERROR_ACCESS_DENIED;  // the system's answer, and for good: never waited for
    }
    const auto mark = [&](FILE_INFO_BY_HANDLE_CLASS kind, auto information) {
        return CallWhileHeld(wait, [&] {
            return SetFileInformationByHandle(file, kind, &information, sizeof(information));
        });
    };
    if (readOnly) {
        const DWORD error = mark(kFileDispositionInfoEx, DispositionEx{kDeleteIgnoringReadOnly});
        if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED &&
            error != ERROR_INVALID_FUNCTION) {
            return error;
        }
        if (const DWORD cleared = ClearReadOnlyOf(file, attributes); cleared != ERROR_SUCCESS) {
            return cleared;
        }
    }
    DWORD error = mark(FileDispositionInfo, FILE_DISPOSITION_INFO{TRUE});
    if (readOnly) {
        FILE_BASIC_INFO basic{};  // times left at 0: unchanged
        basic.FileAttributes =
            attributes & (kCopiedAttributes | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE);
        if (!SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)) &&
            error == ERROR_SUCCESS) {
            error = GetLastError();
        }
    }
    return error;
}

}  // namespace

std::wstring Win32ErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalMemoryRelease> owner(buffer);
    if (length == 0 || buffer == nullptr) {
        return L"Error " + std::to_wstring(error) + L".";
    }
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

Status Win32Failure(unsigned long error, const std::wstring& action) {
    return Status::Failure(SystemError(error), action + L": " + Win32ErrorText(error));
}

ItemPath ItemPath::Child(std::wstring_view name) const {
    return {JoinWithBackslash(system, name), JoinWithBackslash(display, name)};
}

std::error_code ToItemPath(const std::wstring& text, ItemPath& item) {
    ExtendedPath extended = ToExtendedPath(text);
    if (extended.error != ERROR_SUCCESS) {
        return SystemError(extended.error);
    }
    item = {std::move(extended.text), text};
    return {};
}

Status SystemFailure(std::error_code error, const std::wstring& action) {
    return Win32Failure(static_cast<unsigned long>(error.value()), action);
}

Status OutOfMemory() noexcept {
    Status status;
    status.error = SystemError(ERROR_NOT_ENOUGH_MEMORY);
    try {
        status.description = Win32ErrorText(ERROR_NOT_ENOUGH_MEMORY);
    } catch (const std::bad_alloc&) {
    }
    return status;
}

std::error_code ErrorOf(Refusal refusal) {
    switch (refusal) {
        case Refusal::NotAFolder:
            return SystemError(ERROR_DIRECTORY);
        case Refusal::NotFound:
            return SystemError(ERROR_PATH_NOT_FOUND);
        case Refusal::NameTaken:
            return SystemError(ERROR_ALREADY_EXISTS);
        case Refusal::LinkLoop:
            return SystemError(ERROR_CANT_RESOLVE_FILENAME);
        case Refusal::InvalidPath:
            break;
    }
    return SystemError(ERROR_INVALID_PARAMETER);
}

bool ExistsAs(const std::wstring& text, bool folder) {
    const ExtendedPath extended = ToExtendedPath(text);
    const DWORD attributes = extended.error == ERROR_SUCCESS
                                 ? GetFileAttributesW(extended.text.c_str())
                                 : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return isFolder == folder && (isFolder || !extended.namesFolder);
}

std::error_code ReadItem(const ItemPath& path, Item& item) {
    const DWORD attributes = GetFileAttributesW(path.system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        item.kind = ItemKind::Missing;
        return IsMissing(error) ? std::error_code() : SystemError(error);
    }
    item.attributes = attributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        item.reparseTag = ReadReparseTag(path.system);
    }
    item.kind = KindOf(attributes, item.reparseTag);
    return {};
}

OpenFolder::~OpenFolder() {
    if (handle_ != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

// Shared with everyone but whoever would rename or delete it: while a walk is inside, no folder
// on its way can be swapped for a link, so the paths below it reach what was checked.
std::error_code OpenFolder::Open(ItemPath path) {
    path_ = std::move(path);
    OwnedHandle folder(CreateFileW(path_.system.c_str(),
                                   FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) {
        return SystemError(GetLastError());
    }
    handle_ = reinterpret_cast<std::intptr_t>(folder.Release());
    return {};
}

// The parent is held, so its path still reaches it; what stands at the name now is checked by
// its place.
std::error_code OpenFolder::OpenInside(const OpenFolder& parent, const Item& subfolder) {
    return Open(parent.Path().Child(subfolder.name));
}

std::error_code ReadPlaceOf(std::intptr_t handle, Place& place) {
    return SystemError(ReadPlace(reinterpret_cast<HANDLE>(handle), place));
}

std::wstring OpenFolder::Shown() const {
    const SizedText final = FinalPathOf(reinterpret_cast<HANDLE>(handle_));
    return final.error == ERROR_SUCCESS ? final.text : path_.display;
}

// Through the folder's own handle, a batch of entries at a time.
std::error_code OpenFolder::List(std::vector<Item>& items, bool) const {
    alignas(FILE_ID_BOTH_DIR_INFO) static thread_local std::byte buffer[64 * 1024];
    for (FILE_INFO_BY_HANDLE_CLASS batch = FileIdBothDirectoryRestartInfo;;
         batch = FileIdBothDirectoryInfo) {
        if (!GetFileInformationByHandleEx(reinterpret_cast<HANDLE>(handle_), batch, buffer,
                                          sizeof(buffer))) {
            const DWORD error = GetLastError();
            return error == ERROR_NO_MORE_FILES ? std::error_code() : SystemError(error);
        }
        for (std::size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                const DWORD attributes = entry->FileAttributes;
                const DWORD tag = ReparseTagOfEntry(attributes, entry->EaSize);
                items.push_back({std::wstring(name), KindOf(attributes, tag),
                                 static_cast<std::uint64_t>(entry->EndOfFile.QuadPart), attributes,
                                 tag, entry->LastWriteTime.QuadPart});
            }
            if (entry->NextEntryOffset == 0) {
                break;
            }
            offset += entry->NextEntryOffset;
        }
    }
}

std::error_code OpenFolder::ReadIdentity(Identity& identity) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle_), &information)) {
        return SystemError(GetLastError());
    }
    identity.volume = information.dwVolumeSerialNumber;
    identity.index =
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return {};
}

Status CreateFolder(const ItemPath& folder) {
    if (CreateDirectoryW(folder.system.c_str(), nullptr)) {
        return Status::Success();
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder.system.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Status::Success();
        }
    }
    return Win32Failure(error, CouldNot(L"create the folder", folder.display));
}

// Opens a file of the folder to be read, and where it lies. A file listed as plain is opened as
// itself and, still plain, lies in its folder under its name; any other (a link, or a file made
// one since the listing) is followed and located whole.
DWORD OpenToRead(const OpenFolder& folder, const Item& file, const std::wstring& path,
                 const HoldWait& wait, OwnedHandle& handle, FILE_BASIC_INFO& basic, Place& place) {
    const auto open = [&](DWORD flags) {
        const DWORD error = OpenWhileHeld(wait, path, GENERIC_READ, FILE_SHARE_READ,
                                          FILE_FLAG_SEQUENTIAL_SCAN | flags, handle);
        return error != ERROR_SUCCESS || GetFileInformationByHandleEx(handle.Get(), FileBasicInfo,
                                                                      &basic, sizeof(basic))
                   ? error
                   : GetLastError();
    };
    Place folderPlace;
    if (const std::error_code error = folder.ReadPlace(folderPlace)) {
        return static_cast<DWORD>(error.value());
    }
    if ((file.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        if (const DWORD error = open(FILE_FLAG_OPEN_REPARSE_POINT); error != ERROR_SUCCESS) {
            return error;
        }
        if (StillAsListed(file.attributes, basic.FileAttributes)) {
            return ReadPlaceInFolder(handle.Get(), folderPlace, place);
        }
    }
    const DWORD error = open(0);
    return error != ERROR_SUCCESS ? error : ReadPlace(handle.Get(), place);
}

// Read through the very handle whose place was checked, never by path a second time. Shared
// only for reading: nobody renames, deletes or changes it while it is read. The copy gets the
// content, the attributes (read-only last, once the content is in) and the last-write time; what
// stands at the destination on a failure goes.
Status CopyOneFile(const OpenFolder& folder, const Item& file, const ItemPath& destination,
                   bool overwrite, const HoldWait& wait, const ReadTree& tree,
                   std::uint64_t& bytes) {
    const ItemPath source = folder.Path().Child(file.name);
    const std::wstring action =
        CouldNot(L"copy the file", source.display) + L" to \"" + destination.display + L"\"";
    OwnedHandle from;
    OwnedHandle to;
    FILE_BASIC_INFO basic{};
    Place place;
    DWORD error = OpenToRead(folder, file, source.system, wait, from, basic, place);
    if (error == ERROR_SUCCESS) {
        if (!place.IsInside(tree.place)) {
            const SizedText final = FinalPathOf(from.Get());
            return LinkLeadsOutside(tree.root.display, source.display,
                                    final.error == ERROR_SUCCESS ? final.text : place.path);
        }
        error = CallWhileHeld(wait, [&] {
            to.Reset(CreateFileW(destination.system.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                 overwrite ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
            return static_cast<bool>(to);
        });
    }
    std::vector<char> buffer = FileBuffer(file.size);
    std::uint64_t copied = 0;
    for (DWORD read = 1; error == ERROR_SUCCESS && read != 0;) {
        DWORD written = 0;
        if (!ReadFile(from.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                      nullptr) ||
            !WriteFile(to.Get(), buffer.data(), read, &written, nullptr)) {
            error = GetLastError();
        }
        copied += written;
    }
    if (error == ERROR_SUCCESS) {
        const DWORD kKept = kCopiedAttributes;
        basic.CreationTime.QuadPart = 0;  // 0: left as the system set it
        basic.LastAccessTime.QuadPart = 0;
        basic.ChangeTime.QuadPart = 0;
        basic.FileAttributes = (basic.FileAttributes & kKept) != 0 ? basic.FileAttributes & kKept
                                                                   : FILE_ATTRIBUTE_NORMAL;
        if (!SetFileInformationByHandle(to.Get(), FileBasicInfo, &basic, sizeof(basic))) {
            error = GetLastError();
        }
    }
    if (error != ERROR_SUCCESS) {
        if (to) {
            FILE_DISPOSITION_INFO disposition{TRUE};
            SetFileInformationByHandle(to.Get(), FileDispositionInfo, &disposition,
                                       sizeof(disposition));
        }
        return Win32HeldItemFailure(error, action, {source.system, destination.system});
    }
    bytes = copied;
    return Status::Success();
}

const std::uint32_t kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                        FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

FileReader::~FileReader() {
    if (handle_ != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

// Shared only for reading, so that nobody changes the file while it is compared and linked; the
// entry itself is opened, and it must lie under its own name in its folder: under Wine a Unix
// link to a file looks like a plain file, and only where it leads tells it.
std::error_code FileReader::Open(const OpenFolder& folder, const Item& file, const ReadTree&) {
    path_ = folder.Path().Child(file.name);
    OwnedHandle opened(
        CreateFileW(path_.system.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    FILE_BASIC_INFO basic{};
    Place folderPlace;
    Place place;
    if (const std::error_code error = folder.ReadPlace(folderPlace)) {
        return error;
    }
    const DWORD error =
        opened && GetFileInformationByHandleEx(opened.Get(), FileBasicInfo, &basic, sizeof(basic))
            ? ReadPlaceInFolder(opened.Get(), folderPlace, place)
            : GetLastError();
    if (error != ERROR_SUCCESS) {
        return SystemError(error);
    }
    const Place expected{folderPlace.volume, JoinWithBackslash(folderPlace.path, file.name)};
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((basic.FileAttributes & kNotPlain) != 0 || !IsSamePlace(place, expected)) {
        return SystemError(ERROR_NOT_SUPPORTED);
    }
    handle_ = reinterpret_cast<std::intptr_t>(opened.Release());
    return {};
}

std::error_code FileReader::Read(char* buffer, std::size_t size, std::size_t& read) {
    DWORD done = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer,
                  static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD)), &done, nullptr)) {
        return SystemError(GetLastError());
    }
    read = done;
    return {};
}

// The new name is given to the file behind the handle that was read, not to whatever its path
// leads to by now (CreateHardLinkW would open the path again); only ntdll offers that.
std::error_code FileReader::LinkAs(const ItemPath& destination) const {
    static const SystemLibrary ntdll(L"ntdll.dll");
    static const auto setInformation =
        ntdll.Find<decltype(NtSetInformationFile)>("NtSetInformationFile");
    static const auto toError =
        ntdll.Find<decltype(RtlNtStatusToDosError)>("RtlNtStatusToDosError");
    if (setInformation == nullptr || toError == nullptr) {
        return SystemError(ERROR_NOT_SUPPORTED);
    }
    // \\?\ and \\.\ both stand for the object folder \??\.
    const std::wstring name = L"\\??\\" + destination.system.substr(kExtendedPrefix.size());
    const ULONG nameBytes = static_cast<ULONG>(name.size() * sizeof(wchar_t));
    std::vector<std::byte> buffer(offsetof(FILE_LINK_INFORMATION, FileName) + nameBytes);
    auto* information = reinterpret_cast<FILE_LINK_INFORMATION*>(buffer.data());
    information->FileNameLength = nameBytes;
    std::memcpy(buffer.data() + offsetof(FILE_LINK_INFORMATION, FileName), name.data(), nameBytes);
    IO_STATUS_BLOCK status{};
    const NTSTATUS answer = setInformation(reinterpret_cast<HANDLE>(handle_), &status, information,
                                           static_cast<ULONG>(buffer.size()), FileLinkInformation);
    return SystemError(toError(answer));  // success is ERROR_SUCCESS, no error
}

// The volume as the user names it (C:\, or the folder it is mounted on), the room left to this
// user (quotas included) and the cluster size.
Result<VolumeSpace> ReadVolumeSpace(const ItemPath& folder) {
    const auto failure = [&folder](DWORD error) {
        return Result<VolumeSpace>{
            {}, Win32Failure(error, CouldNot(L"read the free space of", folder.display))};
    };
    std::wstring volume(folder.system.size() + 2, L'\0');
    if (!GetVolumePathNameW(folder.system.c_str(), volume.data(),
                            static_cast<DWORD>(volume.size()))) {
        return failure(GetLastError());
    }
    volume.resize(wcslen(volume.c_str()));
    ULARGE_INTEGER available{};
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    if (!GetDiskFreeSpaceExW(folder.system.c_str(), &available, nullptr, nullptr) ||
        !GetDiskFreeSpaceW(volume.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters)) {
        return failure(GetLastError());
    }
    return {{ToPlainPath(volume), available.QuadPart,
             std::uint64_t{sectorsPerCluster} * bytesPerSector},
            Status::Success()};
}

unsigned RemovalWorkers(unsigned requested) {
    return ChooseTreeWorkers(requested);
}

// Read-only items are let go one by one, as they are removed.
void OpenUpForRemoval(const ItemPath&, bool) {}

// Deletes through a handle of the entry itself (a Windows link is opened as the link), once the
// system has said what that handle reaches: under Wine a Unix link to a file looks like a plain
// file, and deleting it would delete the file it points to, wherever that is. Such a link stays.
Status RemoveItem(const OpenFolder& folder, const Item& item, bool force, const HoldWait& wait) {
    const ItemPath file = folder.Path().Child(item.name);
    const std::wstring action = CouldNot(L"delete the file", file.display);
    // Every entry that is not a link lies where the folder lies, under its own name.
    Place folderPlace;
    if (const std::error_code error = folder.ReadPlace(folderPlace)) {
        return SystemFailure(error, action);
    }
    const Place expected{folderPlace.volume, JoinWithBackslash(folderPlace.path, item.name)};
    OwnedHandle handle;
    Place reached;
    DWORD error =
        OpenWhileHeld(wait, file.system, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      FILE_FLAG_OPEN_REPARSE_POINT, handle);
    if (error == ERROR_SUCCESS) {
        error = ReadPlaceInFolder(handle.Get(), folderPlace, reached);
    }
    if (error == ERROR_SUCCESS) {
        if (!IsSamePlace(reached, expected)) {
            return Status::Failure(SystemError(ERROR_CANT_ACCESS_FILE),
                                   action + L": it is a link to \"" + reached.path +
                                       L"\", and deleting it here would delete that file. It has "
                                       L"been left in place.");
        }
        error = MarkForDeletion(handle.Get(), item.attributes, force, wait);
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32HeldItemFailure(error, action, {file.system});
}

// Also removes a link to a folder, as the link itself. Only Wine's Unix links come without a
// tag, and Wine removes the folder such a link points to (when empty) instead of the link:
// refused rather than touched.
Status RemoveFolder(const ItemPath& folder, const Item& item, bool force, const HoldWait& wait,
                    std::wstring_view what) {
    if (item.kind == ItemKind::FolderLink && item.reparseTag == 0) {
        return Win32Failure(ERROR_NOT_SUPPORTED, CouldNot(what, folder.display));
    }
    DWORD error = ClearReadOnly(folder, item.attributes, force, wait);
    if (error == ERROR_SUCCESS) {
        error = CallWhileHeld(
            wait, [&] { return RemoveDirectoryW(folder.system.c_str()); },
            IsHoldErrorOfFolderRemoval);
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32HeldItemFailure(error, CouldNot(what, folder.display),
                                                         FilesBelow(folder.system));
}

std::error_code PathReached(const ItemPath& item, std::wstring& reached) {
    SizedText final = FinalPathReached(item.system);
    reached = std::move(final.text);
    return SystemError(final.error);
}

std::weak_ordering CompareAsWindows(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) <=> CSTR_EQUAL;
}

Status MoveItem(const ItemPath& from, const ItemPath& to, const HoldWait& wait) {
    const std::wstring action =
        CouldNot(L"move the folder", from.display) + L" to \"" + to.display + L"\"";
    DWORD error = ERROR_SUCCESS;
    const DWORD attributes = GetFileAttributesW(from.system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = GetLastError();
        error = error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
    } else if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
        error = ERROR_DIRECTORY;  // a Windows link to a file is moved as the link
    }
    if (error != ERROR_SUCCESS) {
        return Win32Failure(error, action);
    }
    // No flags: never replaces an existing item, never copies across volumes. On Windows a
    // folder cannot be renamed while a file inside is open. A destination that exists is the
    // answer, however Windows words it.
    error = CallWhileHeld(
        wait, [&] { return MoveFileExW(from.system.c_str(), to.system.c_str(), 0); },
        [&to](DWORD answer) {
            return IsHoldError(answer) &&
                   GetFileAttributesW(to.system.c_str()) == INVALID_FILE_ATTRIBUTES;
        });
    // Wine shows nothing of a Unix link that leads nowhere, and refuses to move onto it as if the
    // source were no folder.
    if (error == ERROR_DIRECTORY || error == ERROR_FILE_EXISTS) {
        error = ERROR_ALREADY_EXISTS;
    }
    return error == ERROR_SUCCESS ? Status::Success()
                                  : Win32HeldItemFailure(error, action, FilesBelow(from.system));
}

Result<std::wstring> ResolveItemPath(const ItemPath& item) {
    std::wstring existing = item.system;
    std::vector<std::wstring> missingNames;  // deepest first
    for (;;) {
        SizedText final = FinalPathReached(existing);
        if (final.error == ERROR_SUCCESS) {
            for (auto name = missingNames.rbegin(); name != missingNames.rend(); ++name) {
                final.text = JoinWithBackslash(final.text, *name);
            }
            return {std::move(final.text), Status::Success()};
        }
        const std::size_t separator = existing.find_last_of(L'\\');
        // The root of a drive or share that is not there ends the search.
        if (!IsMissing(final.error) || separator == std::wstring::npos ||
            separator < kExtendedPrefix.size() || existing.ends_with(L":\\")) {
            return {{}, Win32Failure(final.error, CouldNot(L"resolve the path", item.display))};
        }
        missingNames.push_back(existing.substr(separator + 1));
        existing.resize(separator);
        if (existing.ends_with(L':')) {
            existing.push_back(L'\\');  // "\\?\C:" would name the volume, not its root folder
        }
    }
}

// A Windows link to a file, or one that leads nowhere, is a link too.
Result<LinkKind> ProbeLinkEntry(const ItemPath& entry) {
    Item item;
    if (const std::error_code error = ReadItem(entry, item)) {
        return {LinkKind::None, SystemFailure(error, CouldNot(L"read the folder", entry.display))};
    }
    if (item.kind != ItemKind::FolderLink && item.kind != ItemKind::OtherLink) {
        return {};
    }
    return {item.reparseTag == 0 ? LinkKind::LinkThatCannotMove : LinkKind::Link,
            Status::Success()};
}

DWORD ReadPlace(HANDLE item, Place& place) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(item, &information)) {
        return GetLastError();
    }
    return ReadPlaceInFolder(item, Place{information.dwVolumeSerialNumber, {}}, place);
}

DWORD ReadPlaceInFolder(HANDLE item, const Place& folder, Place& place) {
    place.volume = folder.volume;
    // Too small a buffer still gets the name's length: one more call reads it whole.
    std::vector<std::byte> buffer(sizeof(FILE_NAME_INFO) + MAX_PATH * sizeof(wchar_t));
    for (;;) {
        auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
        const BOOL read = GetFileInformationByHandleEx(item, FileNameInfo, name,
                                                       static_cast<DWORD>(buffer.size()));
        const DWORD error = read ? ERROR_SUCCESS : GetLastError();
        const std::size_t needed = sizeof(FILE_NAME_INFO) + name->FileNameLength;
        if (error == ERROR_SUCCESS) {
            place.path.assign(name->FileName, name->FileNameLength / sizeof(wchar_t));
            return error;
        }
        if ((error != ERROR_MORE_DATA && error != ERROR_INSUFFICIENT_BUFFER) ||
            needed <= buffer.size()) {
            return error;
        }
        buffer.resize(needed);
    }
}

DWORD ReadPlaceOfPath(const std::wstring& systemPath, Place& place) {
    const OwnedHandle opened = OpenToReadAttributes(systemPath);
    return opened ? ReadPlace(opened.Get(), place) : GetLastError();
}

bool IsSamePlace(const Place& left, const Place& right) {
    return left.volume == right.volume && CompareAsWindows(left.path, right.path) == 0;
}

}  // namespace vestro
