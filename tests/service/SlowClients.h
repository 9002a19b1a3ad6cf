// Connections to a service on 127.0.0.1 that send a request head one byte
// at a time, for as long as they are kept: the clients a server must not let
// hold up the others. Shared by the service tests and bench_service.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbelin::service::test {

// A socket connected to port on 127.0.0.1 from the address from, or -1.
// Linux routes all of 127.0.0.0/8 to the loopback, so each such address is a
// client of its own.
inline int connectFrom(int port, const std::string& from)
{
    sockaddr_in source{};
    source.sin_family = AF_INET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::inet_pton(AF_INET, from.c_str(), &source.sin_addr) == 1 &&
        ::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0 &&
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        return fd;
    }
    ::close(fd);
    return -1;
}

class SlowClients {
public:
    // The connections come from the address from (see connectFrom).
    SlowClients(int port, int count, std::chrono::milliseconds interval,
                const std::string& from = "127.0.0.1")
    {
        for (int i = 0; i < count; ++i) {
            if (const int fd = connectFrom(port, from); fd >= 0) {
                sockets_.push_back(fd);
            }
        }
        ended_.assign(sockets_.size(), false);
        thread_ = std::thread([this, interval] { dribble(interval); });
    }
    SlowClients(const SlowClients&) = delete;
    SlowClients& operator=(const SlowClients&) = delete;
    ~SlowClients()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
        for (const int fd : sockets_) {
            ::close(fd);
        }
    }

    int connected() const { return static_cast<int>(sockets_.size()); }
    // Bytes all connections together have sent so far.
    int sent() const { return sent_; }

    // How many connections the service has ended, as the client sees it: the
    // end of the stream or a reset, after whatever the service sent before.
    int ended()
    {
        int count = 0;
        for (std::size_t i = 0; i < sockets_.size(); ++i) {
            if (!ended_[i]) {
                ended_[i] = endedByPeer(sockets_[i]);
            }
            count += ended_[i] ? 1 : 0;
        }
        return count;
    }

private:
    static bool endedByPeer(int fd)
    {
        char bytes[512];
        for (;;) {
            const ssize_t n = ::recv(fd, bytes, sizeof bytes, MSG_DONTWAIT);
            if (n > 0) {
                continue;  // an error page, say; the end may follow it
            }
            return n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
        }
    }

    void dribble(std::chrono::milliseconds interval)
    {
        static constexpr std::string_view head =
            "POST /wl/translate HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 10\r\n\r\n";
        std::unique_lock lock(mutex_);
        for (std::size_t at = 0; at < head.size() && !stopping_; ++at) {
            for (const int fd : sockets_) {
                if (::send(fd, head.data() + at, 1, MSG_NOSIGNAL) == 1) {
                    ++sent_;
                }
            }
            wake_.wait_for(lock, interval, [this] { return stopping_; });
        }
    }

    std::vector<int> sockets_;
    std::vector<bool> ended_;  // seen ended once: a reset is reported only once
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<int> sent_ = 0;
};

}  // namespace orbelin::service::test
