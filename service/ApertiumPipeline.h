// One Apertium mode kept running: its programs chained by pipes, each in
// null-flush mode, so that a request costs a write and a read instead of
// loading every dictionary again.
#pragma once

#include "ApertiumModes.h"
#include "PipeIo.h"
#include "Process.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

class ApertiumPipeline {
public:
    // The generation option replaces $1 of the mode: "-n" leaves unknown
    // words unmarked (apertium -u), "-g" marks them with '*'.
    explicit ApertiumPipeline(std::filesystem::path modeFile, std::string generationOption = "-n");
    ApertiumPipeline(const ApertiumPipeline&) = delete;
    ApertiumPipeline& operator=(const ApertiumPipeline&) = delete;
    ~ApertiumPipeline();

    // Translates text already in Apertium's stream format (apertium-destxt
    // output). Requests wait for each other; a pipeline that failed or ran
    // past the deadline is killed and started again by the next request.
    // After requests that failed one after another, the next start waits
    // for a back-off that doubles with each of them (see backOff); until
    // then requests fail at once.
    IoResult translate(std::string_view deformatted, Deadline deadline);

    // The wait before a start after that many failed requests in a row.
    static Clock::duration backOff(int failures);

    // Kills the running programs without waiting for a request in progress,
    // which then fails at once instead of at its deadline; the pipeline does
    // not start again.
    void abort() noexcept;

    const std::filesystem::path& modeFile() const { return modeFile_; }

private:
    void start();  // throws
    void stop() noexcept;
    bool alive() const;
    void noteFailure();

    const std::filesystem::path modeFile_;
    const std::string generationOption_;

    std::timed_mutex mutex_;  // one request at a time
    // The programs; the first leads their process group. Guarded apart from
    // requests, so that abort() can end them while a request runs.
    std::mutex childrenMutex_;
    std::vector<ChildProcess> children_;
    std::atomic<bool> aborted_ = false;
    UniqueFd input_;
    UniqueFd output_;
    int failures_ = 0;            // failed requests in a row
    Clock::time_point nextStart_; // no start before this
};

}  // namespace orbelin::service
