#include "main_window/copy_worker.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace vestro {
namespace {

constexpr std::uint64_t kPermilleWhole = 1000;

unsigned Permille(std::uint64_t copied, std::uint64_t total) {
    if (total == 0 || copied >= total) {
        return kPermilleWhole;
    }
    // Without overflow for any total: scale the total down instead when it is that large.
    const std::uint64_t share = total <= std::numeric_limits<std::uint64_t>::max() / kPermilleWhole
                                    ? copied * kPermilleWhole / total
                                    : copied / (total / kPermilleWhole);
    return static_cast<unsigned>(std::min(share, kPermilleWhole - 1));
}

}  // namespace

void CopyWorker::Start(const Deployment& deploy, FileSystem& fileSystem,
                       const DeploymentPaths& paths, Window& window) {
    ended_.store(false);
    thread_ = std::jthread([this, deploy, &fileSystem, paths, &window] {
        // One post per change of the shown value keeps the window's queue short, whatever the
        // number of files.
        std::optional<unsigned> lastPosted;
        const ReplacementProgress progress = [&](std::uint64_t copied, std::uint64_t total) {
            const unsigned permille = Permille(copied, total);
            if (permille != lastPosted) {
                lastPosted = permille;
                window.PostCopyProgress(permille);
            }
        };
        bool posted = false;
        const auto post = [&](const Status& outcome) {
            {
                const std::lock_guard lock(outcomeMutex_);
                outcome_ = outcome;
            }
            posted = true;
            window.PostCopyFinished();
        };
        const Status outcome =
            deploy(fileSystem, paths, progress, [&] { post(Status::Success()); });
        if (!posted) {
            post(outcome);
        }
        ended_.store(true);
    });
}

Status CopyWorker::Outcome() {
    const std::lock_guard lock(outcomeMutex_);
    return outcome_;
}

void CopyWorker::Finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace vestro
