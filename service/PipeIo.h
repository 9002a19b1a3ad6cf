// Feeding a child process and reading its answer at the same time, with a deadline.
#pragma once

#include "Deadline.h"
#include "Process.h"

#include <string>
#include <string_view>
#include <vector>

namespace orbelin::service {

enum class IoStatus { done, timedOut, failed };

struct IoResult {
    IoStatus status = IoStatus::failed;
    std::string output;
};

// Writes data into input and closes it, then collects output until end of file.
// Both descriptors must be non-blocking.
IoResult exchangeUntilEof(UniqueFd& input, std::string_view data, int output, Deadline deadline);

// Runs a program as a filter: data on its input, its whole output back.
// A program that cannot start or exits with a failure gives IoStatus::failed.
IoResult runFilter(const std::vector<std::string>& argv, std::string_view data, Deadline deadline);

}  // namespace orbelin::service
