// One line per request: time, pair, bytes, milliseconds, outcome.
#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace orbelin::service {

struct LogEntry {
    std::chrono::system_clock::time_point time;
    std::string method;
    std::string path;
    std::string pair;  // "EN->ES", empty when the request named none
    std::size_t bytes = 0;  // request body
    std::optional<long long> milliseconds;
    int status = 0;
    std::string outcome;
};

// "2024-05-01T10:00:00.123Z POST /wl/translate EN->ES 57B 8ms 200 ok"; the
// request's own strings are cut short and stripped of control characters.
std::string formatLogLine(const LogEntry& entry);

class RequestLog {
public:
    explicit RequestLog(std::FILE* out) : out_(out) {}
    void write(const LogEntry& entry);

private:
    std::FILE* out_;
    std::mutex mutex_;
};

}  // namespace orbelin::service
