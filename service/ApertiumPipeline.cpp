#include "ApertiumPipeline.h"

#include <algorithm>
#include <csignal>
#include <exception>
#include <utility>

namespace orbelin::service {

ApertiumPipeline::ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption)
    : modeFile_(std::move(modeFile)), generationOption_(std::move(generationOption))
{
}

ApertiumPipeline::~ApertiumPipeline()
{
    stop();
}

IoResult ApertiumPipeline::translate(std::string_view deformatted, Deadline deadline)
{
    std::unique_lock lock(mutex_, std::defer_lock);
    if (!lock.try_lock_until(deadline)) {
        return IoResult{IoStatus::timedOut, {}};
    }
    if (!aborted_ && !alive()) {
        stop();
        if (Clock::now() < nextStart_) {
            return IoResult{IoStatus::failed, {}};
        }
        try {
            start();
        } catch (const std::exception&) {
            stop();
            noteFailure();
            return IoResult{IoStatus::failed, {}};
        }
    }
    if (aborted_) {
        stop();
        return IoResult{IoStatus::failed, {}};
    }
    IoResult result = exchangeUntilNul(input_.get(), deformatted, output_.get(), deadline);
    if (result.status == IoStatus::done) {
        failures_ = 0;
    } else {
        // Whatever it still holds would be read as the next answer.
        stop();
        // A slow answer says nothing about the programs; a failed one does.
        if (result.status == IoStatus::failed) {
            noteFailure();
        }
    }
    return result;
}

Clock::duration ApertiumPipeline::backOff(int failures)
{
    constexpr auto first = std::chrono::milliseconds(250);
    constexpr auto longest = std::chrono::seconds(30);
    if (failures <= 0) {
        return Clock::duration::zero();
    }
    const int doublings = std::min(failures - 1, 10);
    return std::min<Clock::duration>(first * (1 << doublings), longest);
}

void ApertiumPipeline::noteFailure()
{
    ++failures_;
    nextStart_ = Clock::now() + backOff(failures_);
}

void ApertiumPipeline::start()
{
    const std::vector<Command> commands = loadModePipeline(modeFile_, generationOption_);

    Pipe first = Pipe::create();
    UniqueFd upstream = std::move(first.readEnd);
    input_ = std::move(first.writeEnd);
    for (const Command& command : commands) {
        Pipe next = Pipe::create();
        const std::lock_guard lock(childrenMutex_);
        const pid_t group = children_.empty() ? 0 : children_.front().pid();
        children_.push_back(ChildProcess::spawn(command, upstream.get(), next.writeEnd.get(), group));
        upstream = std::move(next.readEnd);
        // next.writeEnd closes here: only the child holds it now.
    }
    output_ = std::move(upstream);
    setNonBlocking(input_.get());
    setNonBlocking(output_.get());
}

void ApertiumPipeline::abort() noexcept
{
    aborted_ = true;
    const std::lock_guard lock(childrenMutex_);
    if (!children_.empty()) {
        children_.front().signalGroup(SIGKILL);
    }
}

void ApertiumPipeline::stop() noexcept
{
    input_.reset();
    output_.reset();
    const std::lock_guard lock(childrenMutex_);
    // The leader is not reaped before this (alive() only looks), so the
    // group id is still its own.
    if (!children_.empty()) {
        children_.front().signalGroup(SIGKILL);
    }
    children_.clear();  // each child is killed and reaped
}

bool ApertiumPipeline::alive() const
{
    // Only this thread changes the children; abort() merely signals them.
    if (children_.empty()) {
        return false;
    }
    for (const ChildProcess& child : children_) {
        if (child.ended()) {
            return false;
        }
    }
    return true;
}

}  // namespace orbelin::service
