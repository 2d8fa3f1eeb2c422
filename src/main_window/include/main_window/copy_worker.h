#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "deployment/data_deployment.h"
#include "file_system/file_system.h"
#include "main_window/window.h"

namespace vestro {

// How the data is put in place; DeployData unless a test holds the copy at a gate.
using Deployment = std::function<Status(FileSystem&, const DeploymentPaths&,
                                        const ReplacementProgress&, const NewDataInPlace&)>;

// Runs one deployment on a thread of its own, so that the window keeps answering meanwhile.
// Progress and the outcome reach the window as posts (Window::PostCopyProgress,
// PostCopyFinished). The outcome is posted as soon as it is known: a success once the new data
// is in place, while the thread goes on removing the old data.
class CopyWorker {
  public:
    // Nothing may use fileSystem until Finish has returned.
    void Start(const Deployment& deploy, FileSystem& fileSystem, const DeploymentPaths& paths,
               Window& window);
    // After the outcome was posted: what it was. Does not wait for the removal of old data.
    Status Outcome();
    // Whether the thread is done, old data removed (or no copy was started).
    bool HasEnded() const { return ended_.load(); }
    // Waits until the thread is done, old data removed. Also what the window's end does, so a
    // copy never outlives what it uses.
    void Finish();

  private:
    std::mutex outcomeMutex_;
    Status outcome_;
    std::atomic<bool> ended_{true};
    // Last, so it is joined before anything it uses goes.
    std::jthread thread_;
};

}  // namespace vestro
