// One start of a mode's programs, chained by pipes, each in null-flush mode,
// and the pieces of text in them. A piece is written as soon as it comes,
// while earlier ones are still being translated, so that every program of
// the chain has work (as in a batch); a thread of the run reads the answers,
// which come back in the order of the pieces, each ended by a NUL byte.
//
// A piece whose requester stops waiting (its deadline passed) stays in the
// programs and its answer is dropped when it comes: the others go on. A run
// is ended only when it looks stuck (a requester's deadline passes while its
// own piece is the oldest, or while the oldest has waited past the stall
// limit) or its programs fail; then the oldest piece is the one that fails,
// and every other piece in it is told to try again in a new run.
#pragma once

#include "ApertiumModes.h"
#include "Deadline.h"
#include "FairGate.h"
#include "PipeIo.h"
#include "Process.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orbelin::service {

enum class PieceState {
    waiting,   // in the programs
    done,      // answered
    timedOut,  // the oldest piece of a run that stalled
    failed,    // the oldest piece of a run whose programs failed, or every piece on abort
    again,     // in a run that ended for another piece: to be sent into a new run
};

class PipelineRun {
public:
    // The oldest piece left unanswered this long while any requester's
    // deadline passes means the programs are stuck.
    static constexpr auto stallLimit = std::chrono::seconds(1);

    struct Piece {
        PieceState state = PieceState::waiting;  // guarded by the run's mutex
        std::string answer;
        std::unique_ptr<FairGate::Pass> pass;  // leaves the gate when answered or ended
        std::condition_variable answered;
    };

    // Starts the programs; throws std::system_error when one cannot start.
    explicit PipelineRun(const std::vector<Command>& commands);
    PipelineRun(const PipelineRun&) = delete;
    PipelineRun& operator=(const PipelineRun&) = delete;
    // Kills the programs (their whole process group) and reaps them.
    ~PipelineRun();

    // Sends text (stream format, without NUL) behind the pieces already in
    // the programs; empty when the piece did not enter: the run had ended, or
    // the deadline passed while another piece was being written. A write
    // that cannot finish by the deadline ends the run.
    std::shared_ptr<Piece> submit(std::string_view text, std::unique_ptr<FairGate::Pass> pass,
                                  Deadline deadline);
    // Waits for a piece's answer until the deadline, then leaves it behind
    // (timedOut), ending the run first if it looks stuck.
    PieceState await(Piece& piece, Deadline deadline);

    // Kills the programs; every piece in them fails (on shutdown).
    void abort() noexcept { end(PieceState::failed, PieceState::failed); }

    // Whether pieces can still enter: the run has not ended and none of its
    // programs has exited.
    bool usable() const;

private:
    // The oldest piece gets oldest, the others the rest; then the programs
    // are killed.
    void end(PieceState oldest, PieceState rest) noexcept;
    void finish(PieceState oldest, PieceState rest) noexcept;  // with mutex_ held
    // Ends the run when its oldest piece is late's, or has waited past the
    // stall limit.
    void endIfStuck(const Piece* late);
    bool write(std::string_view bytes, Deadline deadline);
    void readAnswers();
    // Takes bytes the programs wrote; false when they answer nobody.
    bool take(std::string_view bytes);
    void killPrograms() noexcept;

    std::vector<ChildProcess> children_;  // the first leads their process group
    UniqueFd input_;
    UniqueFd output_;

    std::timed_mutex writing_;  // one piece's bytes at a time
    mutable std::mutex mutex_;  // guards what follows, and each Piece
    std::deque<std::shared_ptr<Piece>> pieces_;  // in the order they were written
    Clock::time_point oldestSince_;              // when pieces_.front() became the oldest
    std::string partial_;                        // of the answer to pieces_.front()
    bool ended_ = false;

    std::atomic<bool> stopping_ = false;  // for the reader, when this is destroyed
    std::thread reader_;
};

}  // namespace orbelin::service
