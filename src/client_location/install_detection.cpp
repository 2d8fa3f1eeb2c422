#include "client_location/install_detection.h"

namespace vestro {

Result<std::wstring> DetectInstall(FileSystem& fileSystem,
                                   std::span<const std::wstring_view> candidates) {
    for (std::wstring_view candidate : candidates) {
        const std::wstring path(candidate);
        Result<bool> probe = fileSystem.FileExists(path);
        if (probe.status.Failed()) {
            return {{}, std::move(probe.status)};
        }
        if (probe.value) {
            return {path, Status::Success()};
        }
    }
    return {};
}

}  // namespace vestro
