#include "RequestLog.h"

#include <ctime>

namespace orbelin::service {

namespace {

std::string printable(std::string_view text, std::size_t limit)
{
    std::string result;
    for (const char c : text.substr(0, limit)) {
        const auto byte = static_cast<unsigned char>(c);
        result.push_back(byte < 0x21 || byte == 0x7F ? '?' : c);
    }
    if (text.size() > limit) {
        result.append("...");
    }
    return result.empty() ? "-" : result;
}

std::string utcTime(std::chrono::system_clock::time_point time)
{
    const auto since = time.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds);
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    std::tm parts{};
    gmtime_r(&whole, &parts);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    char full[64];
    std::snprintf(full, sizeof full, "%.*s.%03dZ", static_cast<int>(length), text,
                  static_cast<int>(millis.count()));
    return full;
}

}  // namespace

std::string formatLogLine(const LogEntry& entry)
{
    std::string line = utcTime(entry.time);
    line.append(" ").append(printable(entry.method, 16));
    line.append(" ").append(printable(entry.path, 200));
    line.append(" ").append(entry.pair.empty() ? "-" : printable(entry.pair, 40));
    line.append(" ").append(std::to_string(entry.bytes)).append("B");
    line.append(" ").append(entry.milliseconds ? std::to_string(*entry.milliseconds) + "ms" : "-");
    line.append(" ").append(std::to_string(entry.status));
    line.append(" ").append(printable(entry.outcome, 40));
    return line;
}

void RequestLog::write(const LogEntry& entry)
{
    const std::string line = formatLogLine(entry) + "\n";
    const std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
}

}  // namespace orbelin::service
