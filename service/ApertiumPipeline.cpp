#include "ApertiumPipeline.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace orbelin::service {

ApertiumPipeline::ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption)
    : modeFile_(std::move(modeFile)), generationOption_(std::move(generationOption))
{
}

IoResult ApertiumPipeline::translate(std::string_view deformatted, Deadline deadline)
{
    // A run may end between the look at it and the request's entry; the
    // request then goes into the next one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::uint64_t number = 0;
        std::shared_ptr<PipelineRun> run;
        {
            const std::lock_guard lock(mutex_);
            run = currentRun();
            number = runNumber_;
        }
        if (!run) {
            return IoResult{IoStatus::failed, {}};
        }
        std::optional<IoResult> result = run->exchange(deformatted, deadline);
        if (!result) {
            continue;
        }
        const std::lock_guard lock(mutex_);
        if (result->status == IoStatus::done) {
            failures_ = 0;
        } else if (result->status == IoStatus::failed) {
            // A slow answer says nothing about the programs; a failed one
            // does, once for all the requests that were in them.
            noteFailure(number);
        }
        return std::move(*result);
    }
    return IoResult{IoStatus::failed, {}};
}

std::shared_ptr<PipelineRun> ApertiumPipeline::currentRun()
{
    if (aborted_) {
        return nullptr;
    }
    if (run_ && run_->usable()) {
        return run_;
    }
    run_.reset();
    if (Clock::now() < nextStart_) {
        return nullptr;
    }
    ++runNumber_;
    try {
        run_ = std::make_shared<PipelineRun>(loadModePipeline(modeFile_, generationOption_));
    } catch (const std::exception&) {
        noteFailure(runNumber_);
    }
    return run_;
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

void ApertiumPipeline::noteFailure(std::uint64_t run)
{
    if (run == failedRun_) {
        return;
    }
    failedRun_ = run;
    ++failures_;
    nextStart_ = Clock::now() + backOff(failures_);
}

void ApertiumPipeline::abort() noexcept
{
    const std::lock_guard lock(mutex_);
    aborted_ = true;
    if (run_) {
        run_->end(IoStatus::failed);
    }
}

}  // namespace orbelin::service
