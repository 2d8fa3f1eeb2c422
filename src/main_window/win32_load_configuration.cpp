// The executable's load configuration, which MinGW's runtime does not bring: it tells the loader
// to take the libraries that the executable imports from System32 alone, never from the folder it
// was started from. (MSVC's runtime brings its own; there the linker's /DEPENDENTLOADFLAG sets
// the same.) This linker does not point the image at the record: a step after linking does, from
// the link map (cmake/pe_loading.py).
#include <windows.h>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 LoadFromSystem32Only() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 record{};
    // The length tells the loader which fields the record holds: the one once reserved is
    // DependentLoadFlags.
    record.Size = sizeof(record);
    record.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return record;
}

}  // namespace

extern "C" __attribute__((used)) constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used =
    LoadFromSystem32Only();
