#include "ConnectionStream.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <utility>

namespace orbelin::service {

namespace {

// Waits are cut into slices, so that a stopping server is noticed soon.
constexpr auto slice = std::chrono::milliseconds(100);

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

ConnectionStream::ConnectionStream(int socket, Clock::duration readWait, Clock::duration writeWait,
                                   std::function<bool()> stopping)
    : socket_(socket), readWait_(readWait), writeWait_(writeWait), stopping_(std::move(stopping))
{
}

bool ConnectionStream::waitFor(short events, Clock::time_point until) const
{
    // A response being written is let finish; only waits for a client's
    // bytes end with the server.
    const bool endsWithServer = events == POLLIN && stopping_;
    for (;;) {
        if (endsWithServer && stopping_()) {
            return false;
        }
        const auto now = Clock::now();
        if (now >= until) {
            return false;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(std::min<Clock::duration>(until - now, slice));
        pollfd ready{socket_, events, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (n > 0) {
            return true;  // ready, or an error or hang-up the next call reports
        }
        if (n < 0 && errno != EINTR) {
            return false;
        }
    }
}

bool ConnectionStream::waitForBytes(Clock::duration wait) const
{
    return bufferStart_ < bufferEnd_ || waitFor(POLLIN, Clock::now() + wait);
}

bool ConnectionStream::is_readable() const
{
    if (bufferStart_ < bufferEnd_) {
        return true;
    }
    const auto now = Clock::now();
    const auto until = deadline_ - now < readWait_ ? deadline_ : now + readWait_;
    return waitFor(POLLIN, until);
}

bool ConnectionStream::is_writable() const
{
    return waitFor(POLLOUT, Clock::now() + writeWait_);
}

ssize_t ConnectionStream::read(char* ptr, size_t size)
{
    if (bufferStart_ == bufferEnd_) {
        if (!is_readable()) {
            return -1;
        }
        // Large reads (a body) go straight to the caller.
        if (size >= buffer_.size()) {
            return ::recv(socket_, ptr, size, 0);
        }
        const ssize_t n = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
        if (n <= 0) {
            return n;
        }
        bufferStart_ = 0;
        bufferEnd_ = static_cast<std::size_t>(n);
    }
    const std::size_t n = std::min(size, bufferEnd_ - bufferStart_);
    std::memcpy(ptr, buffer_.data() + bufferStart_, n);
    bufferStart_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size)
{
    if (!is_writable()) {
        return -1;
    }
    return ::send(socket_, ptr, size, MSG_NOSIGNAL);
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
