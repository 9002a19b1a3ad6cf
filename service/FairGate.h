// Turns to put work into an engine, so that requests share it fairly: the
// turns go in the order they were asked for, and work enters while the work
// inside stays within a budget of bytes. A request asks for one turn at a
// time (its next piece once the last one is in), so requests that wait take
// turns round the table, and a short request waits behind at most one piece
// of each other request beside the budget's worth already inside. Work no
// larger than the small size, if one is given, never waits.
#pragma once

#include "Deadline.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

namespace orbelin::service {

class FairGate : public std::enable_shared_from_this<FairGate> {
public:
    class Pass;

    explicit FairGate(std::size_t budget, std::size_t small = 0) : budget_(budget), small_(small) {}

    // Waits for a turn for bytes of work; empty when the deadline passes
    // first or the gate is closed. Work larger than the budget enters alone.
    std::unique_ptr<Pass> enter(std::size_t bytes, Deadline deadline);
    // Wakes every waiter; no turn is given after this.
    void close() noexcept;

    std::size_t inside() const;
    std::size_t waiting() const;

private:
    void leave(std::size_t bytes) noexcept;

    const std::size_t budget_;
    const std::size_t small_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::uint64_t> waiting_;  // tickets in the order asked
    std::uint64_t nextTicket_ = 0;
    std::size_t inside_ = 0;
    bool closed_ = false;
};

// Work inside the gate; it leaves when the pass is released or destroyed.
class FairGate::Pass {
public:
    Pass(std::shared_ptr<FairGate> gate, std::size_t bytes) : gate_(std::move(gate)), bytes_(bytes) {}
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;
    ~Pass() { release(); }

    void release() noexcept;

private:
    std::shared_ptr<FairGate> gate_;
    std::size_t bytes_;
};

}  // namespace orbelin::service
