#pragma once

#include <string>

namespace vestro::end_to_end {

// A path handed over by the build, as Windows text. Under Wine the build passes Linux paths,
// which Wine's drive Z: shows as they are: /work/build becomes Z:\work\build.
std::wstring WindowsPathOf(const std::wstring& hostPath);

}  // namespace vestro::end_to_end
