#include "DeadlineWatch.h"

#include <utility>

namespace orbelin::service {

namespace {

constexpr std::chrono::milliseconds repeatStop{10};

}  // namespace

DeadlineWatch::DeadlineWatch() : thread_([this] { run(); }) {}

DeadlineWatch::~DeadlineWatch()
{
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

DeadlineWatch::Ticket DeadlineWatch::watch(Deadline deadline, std::function<void()> stop)
{
    auto fired = std::make_shared<std::atomic<bool>>(false);
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(mutex_);
        id = nextId_++;
        entries_.emplace(id, Entry{deadline, std::move(stop), fired});
    }
    wake_.notify_all();
    return Ticket(this, id, std::move(fired));
}

void DeadlineWatch::stopAll() noexcept
{
    {
        const std::lock_guard lock(mutex_);
        stopAll_ = true;
    }
    wake_.notify_all();
}

void DeadlineWatch::release(std::uint64_t id)
{
    // Under the lock, so a stop function never runs once its ticket is gone.
    const std::lock_guard lock(mutex_);
    entries_.erase(id);
}

void DeadlineWatch::run()
{
    std::unique_lock lock(mutex_);
    while (!quitting_) {
        const Deadline next = fireDue();
        if (next == Deadline::max()) {
            wake_.wait(lock);
        } else {
            wake_.wait_until(lock, next);
        }
    }
}

Deadline DeadlineWatch::fireDue()
{
    const Deadline now = Clock::now();
    Deadline next = Deadline::max();
    for (auto& [id, entry] : entries_) {
        if (stopAll_ || entry.deadline <= now) {
            entry.fired->store(true);
            try {
                entry.stop();
            } catch (...) {
                // the next round tries again; the watch must not end
            }
            next = std::min(next, now + repeatStop);
        } else {
            next = std::min(next, entry.deadline);
        }
    }
    return next;
}

DeadlineWatch::Ticket::Ticket(DeadlineWatch* watch, std::uint64_t id,
                              std::shared_ptr<std::atomic<bool>> fired)
    : watch_(watch), id_(id), fired_(std::move(fired))
{
}

DeadlineWatch::Ticket::Ticket(Ticket&& other) noexcept
    : watch_(std::exchange(other.watch_, nullptr)), id_(other.id_), fired_(other.fired_)
{
}

DeadlineWatch::Ticket::~Ticket()
{
    if (watch_ != nullptr) {
        watch_->release(id_);
    }
}

}  // namespace orbelin::service
