// One start of a mode's programs, chained by pipes, each in null-flush mode,
// and the requests in them. A request is written as soon as it comes, while
// earlier ones are still being translated, so that every program of the
// chain has work (as in a batch); a thread of the run reads the answers,
// which come back in the order of the requests, each ended by a NUL byte.
#pragma once

#include "ApertiumModes.h"
#include "PipeIo.h"
#include "Process.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orbelin::service {

class PipelineRun {
public:
    // Starts the programs; throws std::system_error when one cannot start.
    explicit PipelineRun(const std::vector<Command>& commands);
    PipelineRun(const PipelineRun&) = delete;
    PipelineRun& operator=(const PipelineRun&) = delete;
    // Kills the programs (their whole process group) and reaps them.
    ~PipelineRun();

    // Sends text (stream format, without NUL) and waits for its answer.
    // A failure, or a request past its deadline, ends the run: every
    // request still in it fails with that status (a text the programs took
    // in cannot be taken back out). Nothing when the run had ended before
    // the request could enter.
    std::optional<IoResult> exchange(std::string_view text, Deadline deadline);

    // Ends the run: its programs are killed, its requests get status.
    void end(IoStatus status) noexcept;

    // Whether requests can still enter: the run has not ended and none of
    // its programs has exited.
    bool usable() const;

private:
    struct Request {
        std::optional<IoStatus> status;  // set once answered or ended
        std::string answer;
        std::condition_variable answered;
    };

    bool write(std::string_view bytes, Deadline deadline);
    void readAnswers();
    // Takes bytes the programs wrote; false when they answer nobody.
    bool take(std::string_view bytes);
    void killPrograms() noexcept;

    std::vector<ChildProcess> children_;  // the first leads their process group
    UniqueFd input_;
    UniqueFd output_;

    std::timed_mutex writing_;  // one request's bytes at a time
    mutable std::mutex mutex_;  // guards what follows, and each Request
    std::deque<std::shared_ptr<Request>> requests_;  // in the order they were written
    std::string partial_;                            // of the answer to requests_.front()
    std::optional<IoStatus> ended_;

    std::atomic<bool> stopping_ = false;  // for the reader, when this is destroyed
    std::thread reader_;
};

}  // namespace orbelin::service
