#include <windows.h>

#include <memory>
#include <string_view>

#include "file_system/win32_error_text.h"
#include "file_system/win32_extended_path.h"
#include "file_system/win32_owned_handle.h"
#include "platform.h"
#include "win32_platform.h"

namespace vestro {
namespace {

class Win32ExclusiveLock final : public ExclusiveLock {
  public:
    explicit Win32ExclusiveLock(OwnedHandle file) : file_(std::move(file)) {}

  private:
    OwnedHandle file_;
};

// Written into the lock file, which its holder lets others read: what tells another copy from a
// program that merely has the file open (a virus scanner, the search indexer).
constexpr char kHolderMark[] = "VestroFile";
constexpr DWORD kHolderMarkSize = sizeof(kHolderMark) - 1;

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(0, separator);
}

OwnedHandle Open(const std::wstring& systemPath, DWORD access) {
    return OwnedHandle(CreateFileW(
        systemPath.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// What stands under the lock's name, as far as it matters to a copy.
enum class Standing {
    NotOurs,     // a folder, a link, a file with another name too or other content: left alone
    CopyLock,    // held by a copy (or by one that is just writing its mark)
    EndedLock,   // the lock file of a copy that has ended without removing it
    HeldByOther  // held by a program that lets nobody read it
};

struct Inspection {
    Standing standing = Standing::NotOurs;
    DWORD error = ERROR_SUCCESS;  // what kept it from being looked at, if anything
};

// A plain file with a single name, lying in the lock's own folder (under Wine a Unix link to a
// file looks like a plain file), that holds the mark or nothing yet.
bool MayBeALock(HANDLE file, const ItemPath& path) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        information.nNumberOfLinks != 1) {
        return false;
    }
    Place folder;
    Place reached;
    const std::wstring name = path.system.substr(path.system.find_last_of(L'\\') + 1);
    return ReadPlaceOfPath(FolderOf(path.system), folder) == ERROR_SUCCESS &&
           ReadPlace(file, reached) == ERROR_SUCCESS &&
           IsSamePlace(reached, {folder.volume, JoinWithBackslash(folder.path, name)});
}

enum class Content { Empty, Mark, Other };

Content ReadContent(HANDLE file) {
    char content[kHolderMarkSize + 1] = {};
    DWORD read = 0;
    if (!ReadFile(file, content, sizeof(content), &read, nullptr)) {
        return Content::Other;
    }
    if (read == 0) {
        return Content::Empty;
    }
    return std::string_view(content, read) == std::string_view(kHolderMark, kHolderMarkSize)
               ? Content::Mark
               : Content::Other;
}

// Looked at through a handle that may only read, so that nothing that is not ours is changed.
// A lock file that no copy holds is removed through a handle checked to reach the same file.
Inspection Inspect(const ItemPath& path) {
    const OwnedHandle looked = Open(path.system, GENERIC_READ);
    if (!looked) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION) {
            return {Standing::HeldByOther, error};
        }
        // Wine shows nothing of a Unix link that leads nowhere; other failures are told.
        const bool unseen = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {Standing::NotOurs, unseen ? ERROR_SUCCESS : error};
    }
    if (!MayBeALock(looked.Get(), path)) {
        return {};
    }
    const Content content = ReadContent(looked.Get());
    if (content == Content::Other) {
        return {};
    }
    // A copy holds its lock with write access and shares no deletion.
    const OwnedHandle removal = Open(path.system, DELETE | FILE_READ_ATTRIBUTES);
    if (!removal) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION ? Inspection{Standing::CopyLock}
                                                : Inspection{Standing::NotOurs, error};
    }
    BY_HANDLE_FILE_INFORMATION lookedAt{}, toRemove{};
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (content != Content::Mark || !GetFileInformationByHandle(looked.Get(), &lookedAt) ||
        !GetFileInformationByHandle(removal.Get(), &toRemove) ||
        lookedAt.dwVolumeSerialNumber != toRemove.dwVolumeSerialNumber ||
        lookedAt.nFileIndexHigh != toRemove.nFileIndexHigh ||
        lookedAt.nFileIndexLow != toRemove.nFileIndexLow || toRemove.nNumberOfLinks != 1) {
        return {};
    }
    if (!SetFileInformationByHandle(removal.Get(), FileDispositionInfo, &disposition,
                                    sizeof(disposition))) {
        return {Standing::NotOurs, GetLastError()};
    }
    return {Standing::EndedLock};
}

LockAcquisition NameTaken(const std::wstring& action) {
    LockAcquisition taken{{nullptr, Win32Failure(ERROR_FILE_EXISTS, action)}};
    taken.nameTaken = true;
    return taken;
}

}  // namespace

// Never waited for: another copy holding the lock is the answer. Created new, never opened: a
// file that stands there may be another's, or a second name of one.
LockAcquisition LockFileExclusively(const ItemPath& file) {
    const std::wstring action = CouldNot(L"lock the file", file.display);
    // A lock file left by a copy that ended is removed, and its name taken once more.
    for (int attempt = 0;; ++attempt) {
        OwnedHandle handle(CreateFileW(file.system.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                       FILE_SHARE_READ, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (handle) {
            DWORD written = 0;
            if (!WriteFile(handle.Get(), kHolderMark, kHolderMarkSize, &written, nullptr) ||
                written != kHolderMarkSize) {
                return {{nullptr, Win32Failure(GetLastError(), action)}};
            }
            return {{std::make_unique<Win32ExclusiveLock>(std::move(handle)), Status::Success()}};
        }
        const DWORD error = GetLastError();
        const bool somethingThere =
            error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
            GetFileAttributesW(file.system.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!somethingThere) {
            const std::wstring refused =
                error == ERROR_ACCESS_DENIED
                    ? L"Files cannot be created in the folder \"" + FolderOf(file.display) + L"\""
                    : action;
            return {{nullptr, Win32Failure(error, refused)}};
        }
        const Inspection inspection = Inspect(file);
        switch (inspection.standing) {
            case Standing::CopyLock:
                return {{nullptr, Win32Failure(ERROR_SHARING_VIOLATION, action)}, true};
            case Standing::HeldByOther:
                return {{nullptr, Win32HeldItemFailure(inspection.error, action, {file.system})}};
            case Standing::EndedLock:
                if (attempt == 0) {
                    continue;
                }
                [[fallthrough]];
            case Standing::NotOurs:
                if (inspection.error != ERROR_SUCCESS) {
                    return {{nullptr, Win32Failure(inspection.error, action)}};
                }
                return NameTaken(action);
        }
    }
}

}  // namespace vestro
