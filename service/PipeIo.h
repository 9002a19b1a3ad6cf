// Feeding a child process and reading its answer at the same time, with a deadline.
#pragma once

#include "Process.h"

#include <chrono>
#include <string>
#include <string_view>

namespace orbelin::service {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

enum class IoStatus { done, timedOut, failed };

struct IoResult {
    IoStatus status = IoStatus::failed;
    std::string output;
};

// Writes data into input and closes it, then collects output until end of file.
// Both descriptors must be non-blocking.
IoResult exchangeUntilEof(UniqueFd& input, std::string_view data, int output, Deadline deadline);

// Writes data followed by a NUL byte into input (which stays open) and collects
// output up to the first NUL, which is not returned. Bytes after that NUL are
// a protocol error. Both descriptors must be non-blocking.
IoResult exchangeUntilNul(int input, std::string_view data, int output, Deadline deadline);

}  // namespace orbelin::service
