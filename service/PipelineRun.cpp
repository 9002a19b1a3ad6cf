#include "PipelineRun.h"

#include "Guarded.h"

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
        reader_ = std::thread([this] {
            runGuarded("reading an Apertium pipeline", [this] { readAnswers(); });
            end(PieceState::failed, PieceState::again);
        });
    } catch (...) {
        killPrograms();
        throw;
    }
}

PipelineRun::~PipelineRun()
{
    end(PieceState::failed, PieceState::failed);
    stopping_ = true;
    if (reader_.joinable()) {
        reader_.join();
    }
    // children_ are reaped as they go; the group was killed while its
    // leader was still unreaped, so its id was still the group's.
}

std::shared_ptr<PipelineRun::Piece> PipelineRun::submit(std::string_view text,
                                                         std::unique_ptr<FairGate::Pass> pass,
                                                         Deadline deadline)
{
    auto piece = std::make_shared<Piece>();
    piece->pass = std::move(pass);
    std::unique_lock writing(writing_, std::defer_lock);
    if (!writing.try_lock_until(deadline)) {
        endIfStuck(nullptr);
        return nullptr;
    }
    {
        const std::lock_guard lock(mutex_);
        if (ended_) {
            return nullptr;
        }
        if (pieces_.empty()) {
            oldestSince_ = Clock::now();
        }
        pieces_.push_back(piece);
    }
    std::string framed;
    framed.reserve(text.size() + 1);
    framed.append(text).push_back('\0');
    if (!write(framed, deadline)) {
        // A piece written in part would spoil every answer after it.
        end(Clock::now() >= deadline ? PieceState::timedOut : PieceState::failed, PieceState::again);
    }
    return piece;
}

PieceState PipelineRun::await(Piece& piece, Deadline deadline)
{
    {
        std::unique_lock lock(mutex_);
        if (piece.answered.wait_until(lock, deadline, [&piece] { return piece.state != PieceState::waiting; })) {
            return piece.state;
        }
    }
    endIfStuck(&piece);
    const std::lock_guard lock(mutex_);
    return piece.state == PieceState::waiting ? PieceState::timedOut : piece.state;
}

void PipelineRun::endIfStuck(const Piece* late)
{
    {
        // Looked at and ended in one go: an answer in between would make it
        // another piece's run.
        const std::lock_guard lock(mutex_);
        if (ended_ || pieces_.empty() ||
            (pieces_.front().get() != late && Clock::now() - oldestSince_ < stallLimit)) {
            return;
        }
        finish(PieceState::timedOut, PieceState::again);
    }
    killPrograms();
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

void PipelineRun::end(PieceState oldest, PieceState rest) noexcept
{
    {
        const std::lock_guard lock(mutex_);
        finish(oldest, rest);
    }
    killPrograms();
}

void PipelineRun::finish(PieceState oldest, PieceState rest) noexcept
{
    ended_ = true;
    PieceState state = oldest;
    for (const std::shared_ptr<Piece>& piece : pieces_) {
        piece->state = state;
        piece->pass.reset();
        piece->answered.notify_all();
        state = rest;
    }
    pieces_.clear();
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
}

bool PipelineRun::take(std::string_view bytes)
{
    const std::lock_guard lock(mutex_);
    while (!bytes.empty()) {
        if (pieces_.empty()) {
            return ended_;  // after an end, the killed programs' last bytes
        }
        const std::size_t nul = bytes.find('\0');
        partial_.append(bytes.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        const std::shared_ptr<Piece> piece = pieces_.front();
        pieces_.pop_front();
        oldestSince_ = Clock::now();
        piece->answer = std::move(partial_);
        partial_.clear();
        piece->state = PieceState::done;
        piece->pass.reset();
        piece->answered.notify_all();
        bytes.remove_prefix(nul + 1);
    }
    return true;
}

}  // namespace orbelin::service
