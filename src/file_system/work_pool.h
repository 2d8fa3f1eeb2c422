#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "file_system/status.h"

namespace vestro {

// A few threads that run the jobs one walk of a tree hands out as it goes. The queue is bounded:
// the walk waits while the workers are behind, so memory holds a few jobs, never the tree.
// The first failure is the one kept; with Stop it also drops the jobs still queued.
class WorkPool {
  public:
    using Job = std::function<Status()>;
    enum class OnFailure { kStop, kContinue };

    // workers: the threads to run jobs; 1 or fewer runs each job at once in the caller's thread.
    // queuedPerWorker: enough that no worker waits on the walk, few enough to be nothing in memory.
    WorkPool(unsigned workers, OnFailure onFailure, std::size_t queuedPerWorker = 16);
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    // Hands a job out, waiting for room. False (the job dropped) once a failure stopped the pool.
    bool Submit(Job job);
    // For jobs that hand out further jobs: queues it when there is room, else runs it at once in
    // the caller's thread, so that no worker ever waits on a full queue.
    void SubmitOrRunHere(Job job);
    // Runs a job in the caller's thread and keeps its failure, as a worker would.
    void RunHere(const Job& job) { Fail(Run(job)); }
    // A failure the walk itself met; kept when it is the first. A success changes nothing.
    void Fail(Status status);
    bool Stopped();
    // Waits for every job handed out; the first failure, or success.
    Status Finish();

  private:
    void Work();
    static Status Run(const Job& job);
    void Record(Status status);  // with mutex_ held

    const OnFailure onFailure_;
    std::size_t bound_ = 0;
    std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable roomReady_;
    std::deque<Job> queue_;
    bool closing_ = false;
    unsigned running_ = 0;  // jobs that may still hand out more
    bool stopped_ = false;
    Status firstFailure_;
    std::vector<std::thread> threads_;
};

// Worker threads for a tree copy or delete: requested, or when the caller leaves the choice to
// the machine, perCore for each core and at most most. By default: a small file's copy or delete
// is the system's work on the processor with some waiting on the disk, so a few threads per core
// keep both busy; past sixteen they only queue.
unsigned ChooseTreeWorkers(unsigned requested, unsigned perCore = 4, unsigned most = 16);

}  // namespace vestro
