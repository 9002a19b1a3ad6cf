// One accepted connection as httplib reads and writes it, with limits a
// slow or silent client cannot stretch: every wait for bytes ends after the
// read wait, and all bytes of a request must arrive before its deadline;
// every wait to write ends after the write wait. Waits for bytes also end as
// soon as the server stops.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace orbelin::service {

class ConnectionStream : public httplib::Stream {
public:
    using Clock = std::chrono::steady_clock;

    ConnectionStream(int socket, Clock::duration readWait, Clock::duration writeWait,
                     std::function<bool()> stopping);

    // Reads after this point in time fail; Clock::time_point::max() lifts it.
    void setReadDeadline(Clock::time_point deadline) { deadline_ = deadline; }
    // Whether bytes (or the end of the stream) arrive within wait.
    bool waitForBytes(Clock::duration wait) const;

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    bool waitFor(short events, Clock::time_point until) const;

    const int socket_;
    const Clock::duration readWait_;
    const Clock::duration writeWait_;
    const std::function<bool()> stopping_;
    Clock::time_point deadline_ = Clock::time_point::max();
    // httplib reads the head a byte at a time; one receive fills this.
    std::array<char, 4096> buffer_{};
    std::size_t bufferStart_ = 0;
    std::size_t bufferEnd_ = 0;
};

// The address and port of a socket's peer (remote) or its own (local).
bool socketAddress(int socket, bool remote, std::string& ip, int& port);

}  // namespace orbelin::service
