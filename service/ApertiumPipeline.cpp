#include "ApertiumPipeline.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <utility>

namespace orbelin::service {

namespace {

// How often a request's pieces may be sent into a new run because theirs
// ended for another piece's sake.
constexpr int maxRestarts = 2;

}  // namespace

ApertiumPipeline::ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption)
    : modeFile_(std::move(modeFile)), generationOption_(std::move(generationOption))
{
}

PiecesResult ApertiumPipeline::translate(std::span<const std::string> pieces, Deadline deadline)
{
    PiecesResult result{IoStatus::done, std::vector<std::string>(pieces.size())};
    std::size_t answered = 0;
    for (int restart = 0; answered < pieces.size(); ++restart) {
        std::uint64_t number = 0;
        const std::shared_ptr<PipelineRun> run = currentRun(number);
        if (!run || restart > maxRestarts) {
            return {Clock::now() >= deadline ? IoStatus::timedOut : IoStatus::failed, {}};
        }
        // In they go, each at its turn, without waiting for the answers.
        std::deque<std::shared_ptr<PipelineRun::Piece>> inside;
        PieceState state = PieceState::done;
        for (std::size_t next = answered; next < pieces.size() && state == PieceState::done; ++next) {
            std::unique_ptr<FairGate::Pass> pass = gate_->enter(pieces[next].size(), deadline);
            const bool turn = pass != nullptr;
            std::shared_ptr<PipelineRun::Piece> piece =
                turn ? run->submit(pieces[next], std::move(pass), deadline) : nullptr;
            if (piece) {
                inside.push_back(std::move(piece));
            } else if (Clock::now() >= deadline) {
                state = PieceState::timedOut;
            } else {
                state = turn ? PieceState::again : PieceState::failed;  // no turn: aborted
            }
        }
        for (const std::shared_ptr<PipelineRun::Piece>& piece : inside) {
            const PieceState got = run->await(*piece, deadline);
            if (got != PieceState::done) {
                state = got;
                break;
            }
            result.answers[answered++] = std::move(piece->answer);
        }
        noteOutcome(number, state);
        if (state == PieceState::timedOut) {
            return {IoStatus::timedOut, {}};
        }
        if (state == PieceState::failed) {
            return {IoStatus::failed, {}};
        }
    }
    return result;
}

std::shared_ptr<PipelineRun> ApertiumPipeline::currentRun(std::uint64_t& number)
{
    const std::lock_guard lock(mutex_);
    if (aborted_) {
        return nullptr;
    }
    if (!run_ || !run_->usable()) {
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
    }
    number = runNumber_;
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

void ApertiumPipeline::noteOutcome(std::uint64_t run, PieceState state)
{
    const std::lock_guard lock(mutex_);
    if (state == PieceState::done) {
        failures_ = 0;
    } else if (state == PieceState::failed) {
        // A slow answer says nothing about the programs; a failed one does,
        // once for all the pieces that were in them.
        noteFailure(run);
    }
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
    gate_->close();
    const std::lock_guard lock(mutex_);
    aborted_ = true;
    if (run_) {
        run_->abort();
    }
}

}  // namespace orbelin::service
