#include "PipelineRun.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace orbelin::service {

namespace {

// The reader looks this often whether its run is being destroyed, in case
// some leftover process still holds the end of the last pipe open.
constexpr int readerSliceMs = 100;

int millisecondsUntil(Deadline deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > 60'000 ? 60'000 : static_cast<int>(left);
}

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

}  // namespace

PipelineRun::PipelineRun(const std::vector<Command>& commands)
{
    try {
        Pipe first = Pipe::create();
        UniqueFd upstream = std::move(first.readEnd);
        input_ = std::move(first.writeEnd);
        for (const Command& command : commands) {
            Pipe next = Pipe::create();
            const pid_t group = children_.empty() ? 0 : children_.front().pid();
            children_.push_back(ChildProcess::spawn(command, upstream.get(), next.writeEnd.get(), group));
            upstream = std::move(next.readEnd);
            // next.writeEnd closes here: only the child holds it now.
        }
        output_ = std::move(upstream);
        setNonBlocking(input_.get());
        setNonBlocking(output_.get());
        reader_ = std::thread([this] { readAnswers(); });
    } catch (...) {
        killPrograms();
        throw;
    }
}

PipelineRun::~PipelineRun()
{
    end(IoStatus::failed);
    stopping_ = true;
    if (reader_.joinable()) {
        reader_.join();
    }
    // children_ are reaped as they go; the group was killed while its
    // leader was still unreaped, so its id was still the group's.
}

std::optional<IoResult> PipelineRun::exchange(std::string_view text, Deadline deadline)
{
    const auto request = std::make_shared<Request>();
    {
        std::unique_lock writing(writing_, std::defer_lock);
        if (!writing.try_lock_until(deadline)) {
            // Someone else's text does not go in; that request ends the run.
            return IoResult{IoStatus::timedOut, {}};
        }
        {
            const std::lock_guard lock(mutex_);
            if (ended_) {
                return std::nullopt;
            }
            requests_.push_back(request);
        }
        std::string framed;
        framed.reserve(text.size() + 1);
        framed.append(text).push_back('\0');
        if (!write(framed, deadline)) {
            end(Clock::now() >= deadline ? IoStatus::timedOut : IoStatus::failed);
        }
    }
    std::unique_lock lock(mutex_);
    if (!request->answered.wait_until(lock, deadline, [&request] { return request->status.has_value(); })) {
        lock.unlock();
        end(IoStatus::timedOut);
        lock.lock();
    }
    return IoResult{*request->status, std::move(request->answer)};
}

bool PipelineRun::write(std::string_view bytes, Deadline deadline)
{
    while (!bytes.empty()) {
        pollfd ready{input_.get(), POLLOUT, 0};
        const int timeout = millisecondsUntil(deadline);
        if (timeout == 0) {
            return false;
        }
        if (::poll(&ready, 1, timeout) < 0 && errno != EINTR) {
            return false;
        }
        if ((ready.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return false;  // the first program is gone
        }
        if ((ready.revents & POLLOUT) == 0) {
            continue;
        }
        const ssize_t n = ::write(input_.get(), bytes.data(), bytes.size());
        if (n < 0 && !wouldBlock(errno)) {
            return false;
        }
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    return true;
}

void PipelineRun::end(IoStatus status) noexcept
{
    {
        const std::lock_guard lock(mutex_);
        if (!ended_) {
            ended_ = status;
        }
        for (const std::shared_ptr<Request>& request : requests_) {
            request->status = *ended_;
            request->answered.notify_one();
        }
        requests_.clear();
    }
    killPrograms();
}

void PipelineRun::killPrograms() noexcept
{
    // Leaders are only reaped by the destructor, after this: the group id
    // is still theirs.
    if (!children_.empty()) {
        children_.front().signalGroup(SIGKILL);
    }
}

bool PipelineRun::usable() const
{
    {
        const std::lock_guard lock(mutex_);
        if (ended_) {
            return false;
        }
    }
    for (const ChildProcess& child : children_) {
        if (child.ended()) {
            return false;
        }
    }
    return !children_.empty();
}

void PipelineRun::readAnswers()
{
    std::array<char, 65536> buffer{};
    while (!stopping_) {
        pollfd ready{output_.get(), POLLIN, 0};
        const int n = ::poll(&ready, 1, readerSliceMs);
        if (n < 0 && errno != EINTR) {
            break;
        }
        if (n <= 0) {
            continue;
        }
        const ssize_t got = ::read(output_.get(), buffer.data(), buffer.size());
        if (got < 0 && wouldBlock(errno)) {
            continue;
        }
        // The end of the output, an error, or bytes nobody asked for.
        if (got <= 0 || !take(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
            break;
        }
    }
    end(IoStatus::failed);
}

bool PipelineRun::take(std::string_view bytes)
{
    const std::lock_guard lock(mutex_);
    while (!bytes.empty()) {
        if (requests_.empty()) {
            return false;
        }
        const std::size_t nul = bytes.find('\0');
        partial_.append(bytes.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        const std::shared_ptr<Request> request = requests_.front();
        requests_.pop_front();
        request->answer = std::move(partial_);
        partial_.clear();
        request->status = IoStatus::done;
        request->answered.notify_one();
        bytes.remove_prefix(nul + 1);
    }
    return true;
}

}  // namespace orbelin::service
