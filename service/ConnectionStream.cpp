#include "ConnectionStream.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <utility>

namespace orbelin::service {

namespace {

// Waits are cut into slices, so that a stopping server is noticed soon.
constexpr auto slice = std::chrono::milliseconds(100);

// Gathered output beyond this is sent at once: a large body gains nothing
// from waiting, and its copy stays small.
constexpr std::size_t gatherLimit = 64 * 1024;

// What one receive into the buffer asks for.
constexpr std::size_t receiveChunk = 4096;

}  // namespace

bool socketAddress(int socket, bool remote, std::string& ip, int& port)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if ((remote ? ::getpeername(socket, raw, &length) : ::getsockname(socket, raw, &length)) != 0) {
        return false;
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        port = ntohs(v4->sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        port = ntohs(v6->sin6_port);
    } else {
        return false;
    }
    ip = text;
    return true;
}

bool sendWithoutDelay(int socket)
{
    const int yes = 1;
    return ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes) == 0;
}

ConnectionStream::ConnectionStream(int socket, Clock::duration readWait, Clock::duration writeWait,
                                   std::function<bool()> stopping)
    : socket_(socket), readWait_(readWait), writeWait_(writeWait), stopping_(std::move(stopping))
{
}

bool ConnectionStream::waitFor(short events, Clock::time_point until) const
{
    // Waits for a client's bytes end with the server; a response being
    // written still goes to a client that takes it at once.
    for (;;) {
        const bool stopped = stopping_ && stopping_();
        if (stopped && events == POLLIN) {
            return false;
        }
        const auto now = Clock::now();
        if (now >= until) {
            return false;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(std::min<Clock::duration>(until - now, slice));
        pollfd ready{socket_, events, 0};
        const int n = ::poll(&ready, 1, stopped ? 0 : static_cast<int>(left.count()));
        if (n > 0) {
            return true;  // ready, or an error or hang-up the next call reports
        }
        if (stopped || (n < 0 && errno != EINTR)) {
            return false;
        }
    }
}

bool ConnectionStream::waitForInput(Clock::time_point until) const
{
    // A client may wait for what we hold (an interim response) before it
    // sends more.
    sendOutput();
    if (outputFailed_) {
        return false;
    }
    // A client that writes a request in pieces without TCP_NODELAY holds
    // each piece back until the previous one is acknowledged, and ours would
    // come after the delayed-acknowledgement timer: acknowledge now.
    const int yes = 1;
    ::setsockopt(socket_, IPPROTO_TCP, TCP_QUICKACK, &yes, sizeof yes);
    return waitFor(POLLIN, until);
}

bool ConnectionStream::waitForBytes(Clock::duration wait)
{
    return bufferStart_ < bufferEnd_ || waitForInput(Clock::now() + wait);
}

bool ConnectionStream::flush()
{
    sendOutput();
    return !outputFailed_;
}

void ConnectionStream::sendOutput() const
{
    if (!output_.empty() && !outputFailed_) {
        outputFailed_ = !send(output_);
    }
    output_.clear();
}

bool ConnectionStream::send(std::string_view bytes) const
{
    while (!bytes.empty()) {
        if (!is_writable()) {
            return false;
        }
        const ssize_t n = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    return true;
}

bool ConnectionStream::is_readable() const
{
    return bufferStart_ < bufferEnd_ || waitForMore();
}

bool ConnectionStream::waitForMore() const
{
    const auto now = Clock::now();
    const auto until = deadline_ - now < readWait_ ? deadline_ : now + readWait_;
    return waitForInput(until);
}

bool ConnectionStream::is_writable() const
{
    return waitFor(POLLOUT, Clock::now() + writeWait_);
}

ssize_t ConnectionStream::receive()
{
    if (bufferStart_ == bufferEnd_) {
        bufferStart_ = bufferEnd_ = 0;
    }
    if (buffer_.size() - bufferEnd_ < receiveChunk) {
        // Moved to the front before growing: a buffer holds one head and what came with it.
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(bufferStart_));
        bufferEnd_ -= bufferStart_;
        bufferStart_ = 0;
        buffer_.resize(bufferEnd_ + receiveChunk);
    }
    if (!waitForMore()) {
        return -1;
    }
    const ssize_t n = ::recv(socket_, buffer_.data() + bufferEnd_, buffer_.size() - bufferEnd_, 0);
    if (n > 0) {
        bufferEnd_ += static_cast<std::size_t>(n);
    }
    return n;
}

HeadVerdict ConnectionStream::readHead(const HeadLimits& limits)
{
    HeadScanner scanner(limits);
    HeadVerdict verdict = scanner.scan({buffer_.data() + bufferStart_, bufferEnd_ - bufferStart_});
    while (verdict == HeadVerdict::incomplete) {
        const std::size_t before = bufferEnd_ - bufferStart_;
        if (receive() <= 0) {
            return verdict;
        }
        verdict = scanner.scan({buffer_.data() + bufferStart_ + before, bufferEnd_ - bufferStart_ - before});
    }
    return verdict;
}

ssize_t ConnectionStream::read(char* ptr, size_t size)
{
    size = std::min(size, budget_);
    if (size == 0) {
        return -1;  // past the request's budget
    }
    ssize_t n = 0;
    if (bufferStart_ < bufferEnd_) {
        n = static_cast<ssize_t>(std::min(size, bufferEnd_ - bufferStart_));
        std::memcpy(ptr, buffer_.data() + bufferStart_, static_cast<std::size_t>(n));
        bufferStart_ += static_cast<std::size_t>(n);
    } else if (size >= receiveChunk) {
        // Large reads (a body) go straight to the caller.
        if (!is_readable()) {
            return -1;
        }
        n = ::recv(socket_, ptr, size, 0);
    } else {
        // httplib reads a line a byte at a time; one receive serves many.
        n = receive();
        if (n <= 0) {
            return n;
        }
        return read(ptr, size);
    }
    if (n > 0) {
        budget_ -= static_cast<std::size_t>(n);
    }
    return n;
}

ssize_t ConnectionStream::write(const char* ptr, size_t size)
{
    if (outputFailed_) {
        return -1;
    }
    output_.append(ptr, size);
    if (output_.size() >= gatherLimit) {
        sendOutput();
    }
    return outputFailed_ ? -1 : static_cast<ssize_t>(size);
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    socketAddress(socket_, true, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    socketAddress(socket_, false, ip, port);
}

}  // namespace orbelin::service
