#include "Deadline.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace orbelin::service {

int millisecondsUntil(Deadline deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 60'000 ? 60'000 : static_cast<int>(ms);
}

StopSignal::StopSignal() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
}

StopSignal::~StopSignal()
{
    ::close(fd_);
}

void StopSignal::raise() noexcept
{
    // Never read: the counter stays above zero, so the descriptor stays readable.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

bool StopSignal::raised() const noexcept
{
    pollfd ready{fd_, POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0;
}

}  // namespace orbelin::service
