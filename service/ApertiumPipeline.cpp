#include "ApertiumPipeline.h"

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
    try {
        if (!aborted_ && !alive()) {
            stop();
            start();
        }
    } catch (const std::exception&) {
        stop();
        return IoResult{IoStatus::failed, {}};
    }
    if (aborted_) {
        stop();
        return IoResult{IoStatus::failed, {}};
    }
    IoResult result = exchangeUntilNul(input_.get(), deformatted, output_.get(), deadline);
    if (result.status != IoStatus::done) {
        // Whatever it still holds would be read as the next answer.
        stop();
    }
    return result;
}

void ApertiumPipeline::start()
{
    const std::vector<Command> commands = loadModePipeline(modeFile_, generationOption_);

    Pipe first = Pipe::create();
    UniqueFd upstream = std::move(first.readEnd);
    input_ = std::move(first.writeEnd);
    for (const Command& command : commands) {
        Pipe next = Pipe::create();
        children_.push_back(ChildProcess::spawn(command, upstream.get(), next.writeEnd.get(), group_));
        if (group_ == 0) {
            group_ = children_.back().pid();
        }
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
    killGroup(group_.load());
}

void ApertiumPipeline::stop() noexcept
{
    input_.reset();
    output_.reset();
    killGroup(group_);
    children_.clear();  // each child is killed and reaped
    group_ = 0;
}

bool ApertiumPipeline::alive()
{
    if (children_.empty()) {
        return false;
    }
    for (ChildProcess& child : children_) {
        if (!child.running()) {
            return false;
        }
    }
    return true;
}

}  // namespace orbelin::service
