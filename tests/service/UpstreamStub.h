// A scripted self-hosted translation server on 127.0.0.1 and a free port:
// POST /translate and GET /languages as the open API has them, in the mode
// the test chooses. Shared by the service tests and the end-to-end run.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orbelin::service::test {

enum class StubMode {
    normal,       // {"translatedText": greeting + " [src>tgt] " + q}
    slow,         // holds the answer until release() (or the stub stops)
    trickle,      // sends a valid answer one byte every 50 ms, padded for 20 s
    keyRefused,   // 403 {"error": ...}
    rateLimited,  // 429 {"error": ...}
    serverError,  // 500 {"error": ...} with markup in the message
    badJson,      // 200 with an HTML page
    wrongJson,    // 200 {"translatedText": 42}
    closed,       // closes a /translate connection without answering
    gate,         // holds each answer until gateCount requests wait together
};

struct StubRequest {
    std::string q;
    std::string source;
    std::string target;
    std::string format;
    std::string apiKey;
    bool hasApiKey = false;
    std::string contentType;
    int remotePort = -1;
};

class UpstreamStub {
public:
    UpstreamStub();  // serves at once (port 0: a free one)
    explicit UpstreamStub(int port);
    UpstreamStub(const UpstreamStub&) = delete;
    UpstreamStub& operator=(const UpstreamStub&) = delete;
    ~UpstreamStub();

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void setMode(StubMode mode) { mode_ = mode; }
    void setGateCount(int count) { gateCount_ = count; }
    void setLanguages(std::string json);  // the body of GET /languages
    void failLanguages(int times) { languageFailures_ = times; }  // 500 for the next requests
    void holdLanguages(bool hold) { holdLanguages_ = hold; }      // until release()
    void release();

    std::vector<StubRequest> requests() const;
    int languageRequests() const { return languageRequests_; }
    int mostWaitingTogether() const { return mostInFlight_; }
    bool trickleAbandoned() const { return trickleAbandoned_; }

    // What normal mode answers for a request.
    static std::string translationOf(std::string_view q, std::string_view source, std::string_view target);
    static std::string greetingFor(std::string_view target);

    // Every language the client offers, with every other one as target, in
    // the spelling of current servers (zh-Hans, zh-Hant, pt-BR).
    static std::string fullLanguageList();
    // The list of the given codes (by default those above), each with every
    // other one as target except the dropped pairs.
    static std::string languageListWithout(std::vector<std::pair<std::string, std::string>> droppedPairs,
                                           std::vector<std::string> codes = {});

private:
    void start(int port);
    void handleTranslate(const httplib::Request& request, httplib::Response& response);
    void answer(const StubRequest& request, httplib::Response& response);
    void waitForRelease();
    void waitAtGate();

    std::atomic<StubMode> mode_ = StubMode::normal;
    std::atomic<int> gateCount_ = 40;
    std::atomic<int> languageFailures_ = 0;
    std::atomic<bool> holdLanguages_ = false;
    std::atomic<int> languageRequests_ = 0;
    std::atomic<bool> trickleAbandoned_ = false;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string languages_;
    std::vector<StubRequest> requests_;
    bool released_ = false;
    int inFlight_ = 0;
    int arrived_ = 0;  // at the gate, in all
    std::atomic<int> mostInFlight_ = 0;

    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
};

}  // namespace orbelin::service::test
