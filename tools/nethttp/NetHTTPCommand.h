#pragma once
// The command line of nethttp, parsed, and the run of one command.

#include <iosfwd>
#include <string>
#include <vector>

namespace orbelin {

struct TNetHTTPCommand {
    std::string Verb; // "get" or "post"
    std::vector<std::string> Urls;
    std::string OutputFile;   // empty: standard output
    std::string DataFile;     // post only
    std::string ContentType;  // post only; empty keeps the client's default
    bool Follow = false;
    int MaxRedirects = 15;
    bool Http10 = false;
    int TimeoutMs = 0;
    std::string User;
    std::string Password;
    std::string Proxy;  // HOST:PORT
    std::string Socks5; // HOST:PORT
    bool Verbose = false;
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitOther = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSocket = 7;
inline constexpr int kExitProtocol = 22;
inline constexpr int kExitTimeout = 28;

// Raises std::invalid_argument with a message for a bad command line.
TNetHTTPCommand ParseCommandLine(const std::vector<std::string>& args);
// Runs the command; the body goes to out (or the output file), messages to err.
int RunCommand(const TNetHTTPCommand& command, std::ostream& out, std::ostream& err);

extern const char* const kUsage;

} // namespace orbelin
