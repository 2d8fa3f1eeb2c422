#pragma once

#include <functional>
#include <thread>

#include "deployment/data_deployment.h"
#include "file_system/file_system.h"
#include "main_window/window.h"

namespace vestro {

// How the data is put in place; DeployData unless a test holds the copy at a gate.
using Deployment =
    std::function<Status(FileSystem&, const DeploymentPaths&, const ReplacementProgress&)>;

// Runs one deployment on a thread of its own, so that the window keeps answering meanwhile.
// Progress and the end reach the window as posts (Window::PostCopyProgress, PostCopyFinished).
class CopyWorker {
  public:
    // Nothing may use fileSystem until Finish has returned.
    void Start(const Deployment& deploy, FileSystem& fileSystem, const DeploymentPaths& paths,
               Window& window);
    // After the end was posted: waits for the thread and returns the deployment's outcome.
    // Also what the window's end does, so a copy never outlives what it uses.
    Status Finish();

  private:
    Status outcome_;
    // Last, so it is joined before anything it uses goes.
    std::jthread thread_;
};

}  // namespace vestro
