#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "file_system/status.h"

namespace vestro {

// A folder of a tree being deleted by several workers. It goes when the last piece of its
// contents has gone, removed by whichever thread finished that piece; a piece that stayed keeps
// it and every folder above it, without a try that could only fail.
class FolderRemoval {
  public:
    FolderRemoval(std::shared_ptr<FolderRemoval> parent, std::function<Status()> remove)
        : parent_(std::move(parent)), remove_(std::move(remove)) {
        if (parent_) {
            parent_->Expect();
        }
    }

    // One more piece still to go. The folder's own listing counts as one from the start.
    void Expect() { pending_.fetch_add(1); }

    // One piece is done: gone, or left behind. Returns the failure of a removal this caused.
    static Status Settle(std::shared_ptr<FolderRemoval> folder, bool left) {
        Status failure;
        while (folder) {
            if (left) {
                folder->contentsLeft_.store(true);
            }
            if (folder->pending_.fetch_sub(1) != 1) {
                break;
            }
            left = folder->contentsLeft_.load();
            if (!left) {
                failure = folder->remove_();
                left = failure.Failed();
            }
            folder = folder->parent_;
        }
        return failure;
    }

  private:
    std::shared_ptr<FolderRemoval> parent_;
    std::function<Status()> remove_;
    std::atomic<unsigned> pending_{1};
    std::atomic<bool> contentsLeft_{false};
};

}  // namespace vestro
