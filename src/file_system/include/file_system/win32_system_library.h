#pragma once

#include <windows.h>

namespace vestro {

// A library of the system's own that the executable does not import, loaded when first needed
// from System32 alone: the program runs elevated from a folder that others may write to, where a
// library of the same name could lie in wait. Freed when it goes.
class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name)
        : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
    ~SystemLibrary() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The library's function of that name and type; null when the system has no such library
    // or function, which callers take as the system not offering it.
    template <typename Function>
    Function* Find(const char* name) const {
        if (module_ == nullptr) {
            return nullptr;
        }
        // Through void(*)(), the one function type that converts to any other without a warning.
        return reinterpret_cast<Function*>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

  private:
    HMODULE module_;
};

}  // namespace vestro
