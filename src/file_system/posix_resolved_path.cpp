#include "posix_resolved_path.h"

#include "posix_failure.h"

namespace vestro {
namespace fs = std::filesystem;

ResolvedPath ResolveItemPath(const ItemPath& item) {
    std::error_code error;
    const fs::path absolute = fs::absolute(item.system, error);
    const fs::path resolved = error ? fs::path() : fs::weakly_canonical(absolute, error);
    if (error) {
        return {{}, PosixFailure(error, CouldNot(L"resolve the path", item.display))};
    }
    return {ToPathText(resolved), Status::Success()};
}

}  // namespace vestro
