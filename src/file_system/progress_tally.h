#pragma once

#include <cstdint>
#include <mutex>

#include "file_system/file_system.h"

namespace vestro {

// The bytes copied by all workers together, told to the caller one call at a time: the count is
// raised and reported under one lock, so calls never overlap and never go down.
class ProgressTally {
  public:
    explicit ProgressTally(const CopyProgress& progress) : progress_(progress) {}

    // False when nobody listens: a copy then need not find out sizes.
    bool Wanted() const { return static_cast<bool>(progress_); }

    void Add(std::uint64_t bytes) {
        if (!progress_) {
            return;
        }
        std::lock_guard lock(mutex_);
        bytesCopied_ += bytes;
        progress_(bytesCopied_);
    }

  private:
    const CopyProgress& progress_;
    std::mutex mutex_;
    std::uint64_t bytesCopied_ = 0;
};

}  // namespace vestro
