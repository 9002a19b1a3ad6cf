// Helpers shared by the service tests.
#pragma once

#include "TranslationService.h"
#include "Translator.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

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

}  // namespace orbelin::service::test
