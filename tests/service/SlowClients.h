// Connections to a service on 127.0.0.1 that send a request head one byte
// at a time, for as long as they are kept: the clients a server must not let
// hold up the others. Shared by the service tests and bench_service.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbelin::service::test {

class SlowClients {
public:
    SlowClients(int port, int count, std::chrono::milliseconds interval)
    {
        for (int i = 0; i < count; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(port));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                sockets_.push_back(fd);
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
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

private:
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
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<int> sent_ = 0;
};

}  // namespace orbelin::service::test
