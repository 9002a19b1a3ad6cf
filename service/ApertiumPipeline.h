// One Apertium mode kept running: its programs chained by pipes, each in
// null-flush mode, so that a request costs a write and a read instead of
// loading every dictionary again.
#pragma once

#include "Deadline.h"
#include "FairGate.h"
#include "PipeIo.h"
#include "PipelineRun.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

struct PiecesResult {
    IoStatus status = IoStatus::failed;
    std::vector<std::string> answers;  // when done: one per piece, in order
};

class ApertiumPipeline {
public:
    // Bytes of text inside the programs at once: enough to keep every program
    // of the chain busy, little enough that a piece entering now is answered
    // soon.
    static constexpr std::size_t gateBudget = 8 * 1024;

    // The generation option replaces $1 of the mode: "-n" leaves unknown
    // words unmarked (apertium -u), "-g" marks them with '*'.
    explicit ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption = "-n");
    ApertiumPipeline(const ApertiumPipeline&) = delete;
    ApertiumPipeline& operator=(const ApertiumPipeline&) = delete;

    // Translates pieces of text already in Apertium's stream format (see
    // deformatText), in order. Each piece waits for its turn at the gate,
    // where the pieces of every request take turns, and enters the running
    // programs without waiting for the answers before it. A piece in a run
    // that ended for another's sake is sent again into a new run; the
    // request fails only for its own piece or its own deadline. After runs
    // that failed one after another, the next start waits for a back-off
    // that doubles with each of them (see backOff); until then requests fail
    // at once.
    PiecesResult translate(std::span<const std::string> pieces, Deadline deadline);

    // The wait before a start after that many failures in a row.
    static Clock::duration backOff(int failures);

    // Kills the running programs without waiting for the requests in them,
    // which then fail at once instead of at their deadline; the pipeline
    // does not start again.
    void abort() noexcept;

    const std::filesystem::path& modeFile() const { return modeFile_; }

private:
    // The run to send a piece into, started when there is none (or the last
    // has ended); null when none can start now. Its number comes with it.
    std::shared_ptr<PipelineRun> currentRun(std::uint64_t& number);
    void noteOutcome(std::uint64_t run, PieceState state);
    void noteFailure(std::uint64_t run);  // with mutex_ held

    const std::filesystem::path modeFile_;
    const std::string generationOption_;
    const std::shared_ptr<FairGate> gate_ = std::make_shared<FairGate>(gateBudget);

    std::mutex mutex_;  // guards what follows; held to start a run, never during a request
    std::shared_ptr<PipelineRun> run_;
    std::uint64_t runNumber_ = 0;     // of run_, counting every start
    std::uint64_t failedRun_ = 0;     // the last run whose failure was counted
    bool aborted_ = false;
    int failures_ = 0;                // failed runs in a row
    Clock::time_point nextStart_;     // no start before this
};

}  // namespace orbelin::service
