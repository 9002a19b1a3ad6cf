// One Apertium mode kept running: its programs chained by pipes, each in
// null-flush mode, so that a request costs a write and a read instead of
// loading every dictionary again.
#pragma once

#include "PipeIo.h"
#include "PipelineRun.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace orbelin::service {

class ApertiumPipeline {
public:
    // The generation option replaces $1 of the mode: "-n" leaves unknown
    // words unmarked (apertium -u), "-g" marks them with '*'.
    explicit ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption = "-n");
    ApertiumPipeline(const ApertiumPipeline&) = delete;
    ApertiumPipeline& operator=(const ApertiumPipeline&) = delete;

    // Translates text already in Apertium's stream format (see
    // deformatText). Requests enter the running programs as they come, without
    // waiting for each other's answers. When a request fails or runs past
    // its deadline, the programs are killed and every request in them ends
    // so; the next request starts them again. After runs that failed one
    // after another, the next start waits for a back-off that doubles with
    // each of them (see backOff); until then requests fail at once.
    IoResult translate(std::string_view deformatted, Deadline deadline);

    // The wait before a start after that many failures in a row.
    static Clock::duration backOff(int failures);

    // Kills the running programs without waiting for the requests in them,
    // which then fail at once instead of at their deadline; the pipeline
    // does not start again.
    void abort() noexcept;

    const std::filesystem::path& modeFile() const { return modeFile_; }

private:
    // The run to send a request into, started when there is none (or the
    // last has ended); null when none can start now.
    std::shared_ptr<PipelineRun> currentRun();
    void noteFailure(std::uint64_t run);

    const std::filesystem::path modeFile_;
    const std::string generationOption_;

    std::mutex mutex_;  // guards what follows; held to start a run, never during a request
    std::shared_ptr<PipelineRun> run_;
    std::uint64_t runNumber_ = 0;     // of run_, counting every start
    std::uint64_t failedRun_ = 0;     // the last run whose failure was counted
    bool aborted_ = false;
    int failures_ = 0;                // failed runs in a row
    Clock::time_point nextStart_;     // no start before this
};

}  // namespace orbelin::service
