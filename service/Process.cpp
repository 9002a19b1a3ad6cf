#include "Process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace orbelin::service {

namespace {

[[noreturn]] void throwErrno(int error, const char* what)
{
    throw std::system_error(error, std::generic_category(), what);
}

// RAII wrappers for the posix_spawn attribute objects.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attributes_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
};

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int UniqueFd::release() noexcept
{
    return std::exchange(fd_, -1);
}

void UniqueFd::reset() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

Pipe Pipe::create()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throwErrno(errno, "pipe2");
    }
    return Pipe{UniqueFd(fds[0]), UniqueFd(fds[1])};
}

void setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        throwErrno(errno, "fcntl");
    }
}

ChildProcess ChildProcess::spawn(const std::vector<std::string>& argv, int stdinFd, int stdoutFd,
                                 pid_t group, int stderrFd)
{
    if (argv.empty()) {
        throwErrno(EINVAL, "spawn: empty command");
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    SpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), stdinFd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.get(), stdoutFd, STDOUT_FILENO);
    if (stderrFd >= 0) {
        posix_spawn_file_actions_adddup2(actions.get(), stderrFd, STDERR_FILENO);
    }
    // The service's own sockets and pipes stay out of every child.
    posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);

    // The service ignores SIGPIPE and blocks its stop signals; the child
    // must start with ordinary signal handling.
    SpawnAttributes attributes;
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigset_t emptyMask;
    sigemptyset(&emptyMask);
    posix_spawnattr_setsigdefault(attributes.get(), &defaults);
    posix_spawnattr_setsigmask(attributes.get(), &emptyMask);
    posix_spawnattr_setpgroup(attributes.get(), group);
    posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK |
                                                   POSIX_SPAWN_SETPGROUP);

    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(),
                                     environ);
    if (error != 0) {
        throwErrno(error, ("spawn " + argv[0]).c_str());
    }
    ChildProcess child(pid);
    child.reaped_ = false;
    return child;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      reaped_(std::exchange(other.reaped_, true)),
      status_(other.status_)
{
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept
{
    if (this != &other) {
        finish();
        pid_ = std::exchange(other.pid_, -1);
        reaped_ = std::exchange(other.reaped_, true);
        status_ = other.status_;
    }
    return *this;
}

ChildProcess::~ChildProcess()
{
    finish();
}

void ChildProcess::finish() noexcept
{
    if (!reaped_) {
        kill();
        wait();
    }
}

bool ChildProcess::running()
{
    if (reaped_) {
        return false;
    }
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, WNOHANG);
    if (result == 0) {
        return true;
    }
    reaped_ = true;
    status_ = status;
    return false;
}

bool ChildProcess::ended() const noexcept
{
    if (reaped_) {
        return true;
    }
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        return true;  // not our child any more
    }
    return info.si_pid == pid_;
}

void ChildProcess::kill() noexcept
{
    if (!reaped_) {
        ::kill(pid_, SIGKILL);
    }
}

int ChildProcess::wait() noexcept
{
    while (!reaped_) {
        int status = 0;
        const pid_t result = ::waitpid(pid_, &status, 0);
        if (result == pid_ || (result < 0 && errno != EINTR)) {
            reaped_ = true;
            status_ = status;
        }
    }
    return status_;
}

std::optional<int> ChildProcess::waitUntil(std::chrono::steady_clock::time_point deadline) noexcept
{
    // Polls with growing pauses: most filters have ended by the first look.
    auto pause = std::chrono::microseconds(200);
    while (running()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(20'000));
    }
    return status_;
}

bool ChildProcess::signalGroup(int sig) noexcept
{
    return !reaped_ && ::killpg(pid_, sig) == 0;
}

void ignoreBrokenPipes() noexcept
{
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace orbelin::service
