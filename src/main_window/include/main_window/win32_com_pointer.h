#pragma once

#include <unknwn.h>

#include <utility>

namespace vestro {

// Owns one reference to a COM object and releases it once, when it goes.
template <typename Interface>
class ComPointer {
  public:
    ComPointer() = default;
    ComPointer(ComPointer&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComPointer& operator=(ComPointer&& other) noexcept {
        Reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    ~ComPointer() { Reset(); }

    Interface* Get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Takes over a reference the caller holds.
    void Reset(Interface* object = nullptr) {
        if (object_ != nullptr) {
            object_->Release();
        }
        object_ = object;
    }

  private:
    Interface* object_ = nullptr;
};

}  // namespace vestro
