#include "host_path.h"

#include <algorithm>

namespace vestro::end_to_end {

std::wstring WindowsPathOf(const std::wstring& hostPath) {
    std::wstring path = hostPath.starts_with(L'/') ? L"Z:" + hostPath : hostPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    while (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

}  // namespace vestro::end_to_end
