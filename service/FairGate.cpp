#include "FairGate.h"

#include <algorithm>

namespace orbelin::service {

std::unique_ptr<FairGate::Pass> FairGate::enter(std::size_t bytes, Deadline deadline)
{
    std::unique_lock lock(mutex_);
    if (bytes <= small_ && !closed_) {
        inside_ += bytes;
        return std::make_unique<Pass>(shared_from_this(), bytes);
    }
    const std::uint64_t ticket = nextTicket_++;
    waiting_.push_back(ticket);
    const auto myTurn = [&] {
        return closed_ || (waiting_.front() == ticket && (inside_ == 0 || inside_ + bytes <= budget_));
    };
    const bool turn = changed_.wait_until(lock, deadline, myTurn);
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), ticket));
    // The next in line may fit beside us, or may now be first.
    changed_.notify_all();
    if (!turn || closed_) {
        return nullptr;
    }
    inside_ += bytes;
    return std::make_unique<Pass>(shared_from_this(), bytes);
}

void FairGate::close() noexcept
{
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

std::size_t FairGate::inside() const
{
    const std::lock_guard lock(mutex_);
    return inside_;
}

std::size_t FairGate::waiting() const
{
    const std::lock_guard lock(mutex_);
    return waiting_.size();
}

void FairGate::leave(std::size_t bytes) noexcept
{
    {
        const std::lock_guard lock(mutex_);
        inside_ -= bytes;
    }
    changed_.notify_all();
}

void FairGate::Pass::release() noexcept
{
    if (gate_) {
        gate_->leave(bytes_);
        gate_.reset();
    }
}

}  // namespace orbelin::service
