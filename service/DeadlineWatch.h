// One thread that ends work which runs past its deadline: at the deadline it
// calls the work's stop function, and again every few milliseconds until the
// work lets go, since a stop that comes while a connection is still being set
// up finds nothing to stop yet.
#pragma once

#include "PipeIo.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace orbelin::service {

class DeadlineWatch {
public:
    class Ticket;

    DeadlineWatch();
    DeadlineWatch(const DeadlineWatch&) = delete;
    DeadlineWatch& operator=(const DeadlineWatch&) = delete;
    ~DeadlineWatch();

    // stop runs on the watch's thread while the ticket lives, never after.
    Ticket watch(Deadline deadline, std::function<void()> stop);

    // Stops everything watched now and later (on shutdown).
    void stopAll() noexcept;

private:
    struct Entry {
        Deadline deadline;
        std::function<void()> stop;
        std::shared_ptr<std::atomic<bool>> fired;
    };

    void release(std::uint64_t id);
    void run();
    Deadline fireDue();  // with mutex_ held; returns when to look again

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::uint64_t, Entry> entries_;
    std::uint64_t nextId_ = 0;
    bool stopAll_ = false;
    bool quitting_ = false;
    std::thread thread_;
};

// Keeps one piece of work watched; tells whether its deadline ended it.
class DeadlineWatch::Ticket {
public:
    Ticket(Ticket&& other) noexcept;
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
    Ticket& operator=(Ticket&&) = delete;
    ~Ticket();

    bool fired() const { return fired_->load(); }

private:
    friend class DeadlineWatch;
    Ticket(DeadlineWatch* watch, std::uint64_t id, std::shared_ptr<std::atomic<bool>> fired);

    DeadlineWatch* watch_;
    std::uint64_t id_;
    std::shared_ptr<std::atomic<bool>> fired_;
};

}  // namespace orbelin::service
