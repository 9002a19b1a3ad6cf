#include "WorkerPool.h"

#include "Guarded.h"

#include <utility>

namespace orbelin::service {

WorkerPool::WorkerPool(std::size_t maxThreads) : maxThreads_(maxThreads == 0 ? 1 : maxThreads) {}

WorkerPool::~WorkerPool()
{
    shutdown();
}

void WorkerPool::enqueue(std::function<void()> job)
{
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (!stopping_ && idle_ < jobs_.size() && threads_.size() < maxThreads_) {
            // Without a new thread the job waits for one of those there are.
            runGuarded("starting a worker", [this] { threads_.emplace_back([this] { work(); }); });
        }
    }
    wake_.notify_one();
}

void WorkerPool::shutdown()
{
    std::vector<std::thread> threads;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void WorkerPool::work()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            ++idle_;
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            --idle_;
            if (jobs_.empty()) {
                return;  // stopping, and nothing left to do
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        // The connection it served is lost; the worker goes on with the next.
        runGuarded("serving a connection", job);
    }
}

}  // namespace orbelin::service
