// The threads that serve connections: started as connections need them, up
// to a maximum, so that connections waiting for slow clients do not keep
// the others queued. Beyond the maximum, connections wait their turn.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orbelin::service {

class WorkerPool : public httplib::TaskQueue {
public:
    explicit WorkerPool(std::size_t maxThreads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool() override;

    void enqueue(std::function<void()> job) override;
    // Runs the queued jobs to their end, then joins every thread.
    void shutdown() override;

private:
    void work();

    const std::size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace orbelin::service
