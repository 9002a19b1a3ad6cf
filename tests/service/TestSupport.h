// Helpers shared by the service tests.
#pragma once

#include "Process.h"
#include "TranslationService.h"
#include "Translator.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbelin::service::test {

// The client's cut: start 125 bytes after the first byte of the first
// "\"wl_result\"", end before the first "</textarea>" of the whole page
// (1-based positions as the client counts them).
std::string clientCut(std::string_view page);

// Every byte as "%XY" with upper-case digits, as the client encodes.
std::string hexEncode(std::string_view bytes);

// The body the client posts.
std::string clientBody(std::string_view text, std::string_view source, std::string_view target,
                       std::string_view glossary = "gl1");

class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& file, std::string_view content, bool executable = false);

// Polls until the condition holds or the time is up; the result of the last poll.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// The whole service in this process, on 127.0.0.1 and a free port.
class RunningService {
public:
    explicit RunningService(const TranslatorConfig& config = {}, const ConnectionLimits& limits = {});
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;
    ~RunningService();

    int port() const { return port_; }
    std::string logText() const;  // every line logged so far

private:
    TempDir logDir_;
    std::FILE* log_;
    std::unique_ptr<Translator> translator_;
    std::unique_ptr<TranslationService> service_;
    int port_ = -1;
    std::thread thread_;
};

// The program itself, started as a user would.
class ServiceProcess {
public:
    explicit ServiceProcess(std::vector<std::string> args)
    {
        args.insert(args.begin(), ORBELIN_SERVICE_EXECUTABLE);
        Pipe out = Pipe::create();
        child_.emplace(ChildProcess::spawn(args, STDIN_FILENO, out.writeEnd.get()));
        output_ = std::move(out.readEnd);
    }

    // The first line of standard output, or empty after the time limit.
    std::string readLine(std::chrono::milliseconds limit)
    {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            pollfd fd{output_.get(), POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0) {
                continue;
            }
            char c = 0;
            if (::read(output_.get(), &c, 1) != 1) {
                break;
            }
            if (c == '\n') {
                return line;
            }
            line.push_back(c);
        }
        return line;
    }

    // The port of its "listening on" line, or -1 when none comes in time.
    int listeningPort()
    {
        const std::string line = readLine(std::chrono::seconds(10));
        const std::size_t colon = line.rfind(':');
        return line.find("listening") == std::string::npos ? -1 : std::stoi(line.substr(colon + 1));
    }

    void signal(int number) { ::kill(child_->pid(), number); }

    // Its peak resident memory so far (VmHWM), in mebibytes.
    double peakMegabytes() const
    {
        std::ifstream status("/proc/" + std::to_string(child_->pid()) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0) {
                return std::stod(line.substr(6)) / 1024.0;
            }
        }
        return -1;
    }

    // The exit status; a program still running after the limit is killed
    // and reported as -1, so a broken test cannot hang.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (child_->running()) {
            if (std::chrono::steady_clock::now() >= end) {
                child_->kill();
                child_->wait();
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return child_->wait();
    }

private:
    std::optional<ChildProcess> child_;
    UniqueFd output_;
};

}  // namespace orbelin::service::test
