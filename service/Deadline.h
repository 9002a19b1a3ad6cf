// How a request's time is bounded.
//
// Reading a request is bounded by its connection: every wait for the next
// bytes by the read wait, and the whole head and body by the arrival deadline
// counted from its first byte (ConnectionStream). Once read, the request
// carries one Deadline, taken when its translation starts (the engine
// timeout from then), and every stage reads that same instant: the wait for
// its turn among the texts translating at once, the wait for a pipeline's
// turn, each write into it and each wait for its answer, the Chinese
// converter between pieces, the upstream exchange (name lookup, connect, TLS
// handshake, sending and receiving, each wait polled against the instant,
// which the upstream timeout may only bring nearer). No stage starts a clock
// of its own. Writing the answer is bounded by the write wait. On shutdown
// every engine is aborted: the upstream's StopSignal, polled beside each of
// its socket waits, and the end of every pipeline run and gate, which wakes
// their waiters, end each wait in progress at once, whatever its deadline.
#pragma once

#include <chrono>

namespace orbelin::service {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

// Milliseconds left until the deadline, rounded up so that a poll never
// wakes just before it, and capped so that a poll argument cannot overflow.
int millisecondsUntil(Deadline deadline);

// Raised once, never lowered: a file descriptor that turns readable then, for
// polls beside the descriptors they wait for.
class StopSignal {
public:
    StopSignal();  // throws std::system_error
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;
    ~StopSignal();

    void raise() noexcept;
    bool raised() const noexcept;
    int fd() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace orbelin::service
