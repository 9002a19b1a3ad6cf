// One accepted connection as httplib reads and writes it, with limits a
// slow, silent or endless client cannot stretch: every wait for bytes ends
// after the read wait, and all bytes of a request must arrive before its
// deadline; every wait to write ends after the write wait. Waits for bytes
// also end as soon as the server stops. The head of a request is read here,
// within its limits, before httplib sees it; httplib then reads it from the
// buffer, and no more than the request's budget of bytes after it.
//
// What httplib writes is gathered and sent by flush(), so that a response
// leaves in one piece: httplib writes its head and its body apart, and a
// second small segment would wait for the client's delayed acknowledgement
// of the first. Gathered bytes are also sent before any wait for the
// client's bytes (an interim "100 Continue"), and once they pass 64 KiB.
#pragma once

#include "RequestHead.h"

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

class ConnectionStream : public httplib::Stream {
public:
    using Clock = std::chrono::steady_clock;

    ConnectionStream(int socket, Clock::duration readWait, Clock::duration writeWait,
                     std::function<bool()> stopping);

    // Reads after this point in time fail; Clock::time_point::max() lifts it.
    void setReadDeadline(Clock::time_point deadline) { deadline_ = deadline; }
    // Whether bytes (or the end of the stream) arrive within wait.
    bool waitForBytes(Clock::duration wait);
    // Reads the next request's head into the buffer, refusing it as soon as
    // it passes a limit; incomplete when the deadline, the read wait or the
    // end of the stream came first.
    HeadVerdict readHead(const HeadLimits& limits);
    // The bytes httplib may still read of this request (its head included);
    // reads past them fail.
    void setReadBudget(std::size_t bytes) { budget_ = bytes; }
    // Received and not yet read.
    std::size_t bufferedBytes() const { return bufferEnd_ - bufferStart_; }
    // Sends what has been written so far; false when the client could not
    // take it (then or earlier).
    bool flush();

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    bool waitFor(short events, Clock::time_point until) const;
    // Sends the gathered output, then waits for the client's bytes.
    bool waitForInput(Clock::time_point until) const;
    // Waits for bytes beyond those buffered, within the read wait and the deadline.
    bool waitForMore() const;
    void sendOutput() const;  // clears output_; outputFailed_ when it could not
    bool send(std::string_view bytes) const;
    // Receives into the buffer's free end, making room first; the count, 0
    // at the end of the stream, -1 on an error or when nothing came in time.
    ssize_t receive();

    const int socket_;
    const Clock::duration readWait_;
    const Clock::duration writeWait_;
    const std::function<bool()> stopping_;
    Clock::time_point deadline_ = Clock::time_point::max();
    // Received, not yet read: a head, and what came with it.
    std::vector<char> buffer_;
    std::size_t bufferStart_ = 0;
    std::size_t bufferEnd_ = 0;
    std::size_t budget_ = SIZE_MAX;
    // Written, not yet sent. Mutable: httplib's is_readable() is const, yet
    // it must send this before it waits.
    mutable std::string output_;
    mutable bool outputFailed_ = false;
};

// Turns off the delay of small segments (Nagle's algorithm) on a connection.
bool sendWithoutDelay(int socket);

// The address and port of a socket's peer (remote) or its own (local).
bool socketAddress(int socket, bool remote, std::string& ip, int& port);

}  // namespace orbelin::service
