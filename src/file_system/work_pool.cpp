#include "work_pool.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace vestro {

WorkPool::WorkPool(unsigned workers, OnFailure onFailure, std::size_t queuedPerWorker)
    : onFailure_(onFailure), bound_(queuedPerWorker * std::max(workers, 1u)) {
    if (workers <= 1) {
        return;
    }
    try {
        threads_.reserve(workers);
        for (unsigned index = 0; index < workers; ++index) {
            threads_.emplace_back([this] { Work(); });
        }
    } catch (const std::exception&) {
        // Fewer threads, or none (jobs then run in the caller's thread), still do the work.
    }
}

WorkPool::~WorkPool() {
    Finish();
}

bool WorkPool::Submit(Job job) {
    if (threads_.empty()) {
        if (Stopped()) {
            return false;
        }
        Status status = Run(job);
        if (status.Failed()) {
            std::lock_guard lock(mutex_);
            Record(std::move(status));
        }
        return !Stopped();
    }
    std::unique_lock lock(mutex_);
    roomReady_.wait(lock, [this] { return stopped_ || queue_.size() < bound_; });
    if (stopped_) {
        return false;
    }
    queue_.push_back(std::move(job));
    jobReady_.notify_one();
    return true;
}

void WorkPool::SubmitOrRunHere(Job job) {
    if (!threads_.empty()) {
        std::lock_guard lock(mutex_);
        if (!stopped_ && queue_.size() < bound_) {
            queue_.push_back(std::move(job));
            jobReady_.notify_one();
            return;
        }
    }
    RunHere(job);
}

void WorkPool::Fail(Status status) {
    if (!status.Failed()) {
        return;
    }
    std::lock_guard lock(mutex_);
    Record(std::move(status));
}

bool WorkPool::Stopped() {
    std::lock_guard lock(mutex_);
    return stopped_;
}

Status WorkPool::Finish() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    std::lock_guard lock(mutex_);
    return firstFailure_;
}

void WorkPool::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Done only when nothing is queued and no running job can queue more.
        jobReady_.wait(lock, [this] { return !queue_.empty() || (closing_ && running_ == 0); });
        if (queue_.empty()) {
            jobReady_.notify_all();
            return;
        }
        Job job = std::move(queue_.front());
        queue_.pop_front();
        ++running_;
        roomReady_.notify_one();
        lock.unlock();
        Status status = Run(job);
        job = nullptr;  // what the job holds goes before the next one starts
        lock.lock();
        --running_;
        if (status.Failed()) {
            Record(std::move(status));
        }
        if (closing_ && running_ == 0 && queue_.empty()) {
            jobReady_.notify_all();
        }
    }
}

Status WorkPool::Run(const Job& job) {
    try {
        return job();
    } catch (const std::bad_alloc&) {
        return Status::Failure(std::make_error_code(std::errc::not_enough_memory),
                               L"Not enough memory.");
    }
}

void WorkPool::Record(Status status) {
    if (!firstFailure_.Failed()) {
        firstFailure_ = std::move(status);
    }
    if (onFailure_ == OnFailure::kStop && !stopped_) {
        stopped_ = true;
        queue_.clear();
        roomReady_.notify_all();
    }
}

unsigned ChooseTreeWorkers(unsigned requested, unsigned perCore, unsigned most) {
    if (requested != 0) {
        return requested;
    }
    const unsigned cores = std::max(std::thread::hardware_concurrency(), 1u);
    return std::clamp(perCore * cores, perCore, most);
}

}  // namespace vestro
