// Child processes connected by pipes: file descriptors, spawning, killing.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orbelin::service {

// Owns one file descriptor and closes it.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }
    int release() noexcept;
    void reset() noexcept;

private:
    int fd_ = -1;
};

// Both ends are close-on-exec so that no child spawned by another thread keeps
// a copy of them (which would hide the end of the stream).
struct Pipe {
    UniqueFd readEnd;
    UniqueFd writeEnd;

    static Pipe create();  // throws std::system_error
};

void setNonBlocking(int fd);  // throws std::system_error

// A spawned program; the destructor kills and reaps it if it still runs.
class ChildProcess {
public:
    // Runs argv[0] (searched in PATH, never through a shell) with the given
    // descriptors as its standard input and output; standard error is
    // inherited unless stderrFd is given. group 0 starts a new process group
    // led by the child.
    static ChildProcess spawn(const std::vector<std::string>& argv, int stdinFd, int stdoutFd,
                              pid_t group = 0, int stderrFd = -1);  // throws std::system_error

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const noexcept { return pid_; }
    bool running();          // false once the child has ended (it is then reaped)
    // Whether the child has ended, without reaping it: its process id, and so
    // the id of the group it leads, stays taken until it is reaped.
    bool ended() const noexcept;
    void kill() noexcept;    // SIGKILL to the child alone
    int wait() noexcept;     // blocks; the exit status as waitpid reports it
    // The exit status, or nothing when the child still runs at the deadline.
    std::optional<int> waitUntil(std::chrono::steady_clock::time_point deadline) noexcept;
    // Sends sig to the process group the child leads (grandchildren of
    // scripts included). Only while the child is not reaped: after that the
    // group id may belong to someone else. False when nothing was sent.
    bool signalGroup(int sig) noexcept;

private:
    explicit ChildProcess(pid_t pid) noexcept : pid_(pid) {}
    void finish() noexcept;

    pid_t pid_ = -1;
    bool reaped_ = true;
    int status_ = 0;
};

// Writing into a pipe whose reader died must give EPIPE, not end the service.
void ignoreBrokenPipes() noexcept;

}  // namespace orbelin::service
