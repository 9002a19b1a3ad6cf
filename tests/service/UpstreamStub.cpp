#include "UpstreamStub.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <arpa/inet.h>
#include <map>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>

namespace orbelin::service::test {

namespace {

using Json = nlohmann::json;
using namespace std::chrono_literals;

const std::vector<std::string>& everyCode()
{
    static const std::vector<std::string> codes{"en", "zh-Hans", "zh-Hant", "nl", "fr", "de", "el",
                                                "it", "ja", "ko",      "pt-BR",   "ru", "es"};
    return codes;
}

std::string jsonError(std::string_view message)
{
    return Json{{"error", message}}.dump();
}

std::uint16_t portOf(const sockaddr_storage& address)
{
    return address.ss_family == AF_INET ? ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port) : 0;
}

// httplib's handlers cannot drop their connection, so the stub finds the
// socket by its two ports and shuts it down: the client sees the
// connection end without an answer, as when a server process dies.
void dropConnection(int localPort, int remotePort)
{
    for (int fd = 3; fd < 1024; ++fd) {
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0 &&
            portOf(local) == localPort && portOf(peer) == remotePort) {
            ::shutdown(fd, SHUT_RDWR);
        }
    }
}

}  // namespace

UpstreamStub::UpstreamStub() : UpstreamStub(0) {}

UpstreamStub::UpstreamStub(int port) : languages_(fullLanguageList())
{
    start(port);
}

void UpstreamStub::start(int port)
{
    // Enough threads for every request of the concurrency tests at once.
    server_.new_task_queue = [] { return new httplib::ThreadPool(64); };
    server_.Post("/translate", [this](const httplib::Request& request, httplib::Response& response) {
        handleTranslate(request, response);
    });
    server_.Get("/languages", [this](const httplib::Request&, httplib::Response& response) {
        ++languageRequests_;
        if (holdLanguages_) {
            waitForRelease();
        }
        if (languageFailures_ > 0) {
            --languageFailures_;
            response.status = 500;
            response.set_content(jsonError("languages not loaded yet"), "application/json");
            return;
        }
        const std::lock_guard lock(mutex_);
        response.set_content(languages_, "application/json");
    });
    port_ = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                      : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ <= 0) {
        throw std::runtime_error("the upstream stub cannot listen");
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) {
        std::this_thread::sleep_for(1ms);
    }
}

UpstreamStub::~UpstreamStub()
{
    release();
    server_.stop();
    thread_.join();
}

void UpstreamStub::setLanguages(std::string json)
{
    const std::lock_guard lock(mutex_);
    languages_ = std::move(json);
}

void UpstreamStub::release()
{
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

std::vector<StubRequest> UpstreamStub::requests() const
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

void UpstreamStub::handleTranslate(const httplib::Request& request, httplib::Response& response)
{
    StubRequest seen;
    seen.contentType = request.get_header_value("Content-Type");
    seen.remotePort = request.remote_port;
    const Json body = Json::parse(request.body, nullptr, false);
    if (body.is_object()) {
        seen.q = body.value("q", "");
        seen.source = body.value("source", "");
        seen.target = body.value("target", "");
        seen.format = body.value("format", "");
        seen.hasApiKey = body.contains("api_key");
        seen.apiKey = body.value("api_key", "");
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(seen);
    }
    if (!body.is_object()) {
        response.status = 400;
        response.set_content(jsonError("Invalid request: missing q parameter"), "application/json");
        return;
    }
    answer(seen, response);
}

void UpstreamStub::answer(const StubRequest& request, httplib::Response& response)
{
    const std::string translated = Json{{"translatedText", translationOf(request.q, request.source, request.target)}}.dump();
    switch (mode_.load()) {
    case StubMode::normal:
        break;
    case StubMode::slow:
        waitForRelease();
        break;
    case StubMode::gate:
        waitAtGate();
        break;
    case StubMode::trickle:
        response.set_chunked_content_provider("application/json", [this, translated](std::size_t offset, httplib::DataSink& sink) {
            // The answer, then blanks (still valid JSON) for 20 s.
            const char next = offset < translated.size() ? translated[offset] : ' ';
            std::this_thread::sleep_for(50ms);
            if (!sink.write(&next, 1)) {
                trickleAbandoned_ = true;
                return false;
            }
            if (offset >= translated.size() + 400) {
                sink.done();
            }
            return true;
        });
        return;
    case StubMode::keyRefused:
        response.status = 403;
        response.set_content(jsonError("Invalid API key"), "application/json");
        return;
    case StubMode::rateLimited:
        response.status = 429;
        response.set_content(jsonError("Too many request limits violations"), "application/json");
        return;
    case StubMode::serverError:
        response.status = 500;
        response.set_content(jsonError("</textarea><b>model</b> crashed\n内部错误 😀"), "application/json");
        return;
    case StubMode::badJson:
        response.set_content("<html><body>502 Bad Gateway</body></html>", "text/html");
        return;
    case StubMode::wrongJson:
        response.set_content(R"({"translatedText": 42})", "application/json");
        return;
    case StubMode::closed:
        dropConnection(port_, request.remotePort);
        return;
    }
    response.set_content(translated, "application/json");
}

void UpstreamStub::waitForRelease()
{
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, 60s, [this] { return released_; });
}

void UpstreamStub::waitAtGate()
{
    std::unique_lock lock(mutex_);
    ++inFlight_;
    ++arrived_;
    mostInFlight_ = std::max(mostInFlight_.load(), inFlight_);
    changed_.notify_all();
    // Counted by arrivals: those let through leave, and the rest must still go.
    changed_.wait_for(lock, 30s, [this] { return arrived_ >= gateCount_ || released_; });
    --inFlight_;
}

std::string UpstreamStub::greetingFor(std::string_view target)
{
    static const std::map<std::string, std::string, std::less<>> greetings{
        {"en", "Hello"},        {"zh-Hans", "你好"},       {"zh", "你好"},          {"zh-Hant", "歡迎光臨"},
        {"zt", "歡迎光臨"},     {"nl", "Goedendag"},       {"fr", "Bonjour"},        {"de", "Grüß Gott"},
        {"el", "Γειά σου"},     {"it", "Ciao"},            {"ja", "こんにちは"},     {"ko", "안녕하세요"},
        {"pt-BR", "Olá"},       {"pb", "Olá"},             {"pt", "Olá"},            {"ru", "Здравствуйте"},
        {"es", "Hola"},
    };
    const auto found = greetings.find(target);
    return found == greetings.end() ? "?" : found->second;
}

std::string UpstreamStub::translationOf(std::string_view q, std::string_view source, std::string_view target)
{
    return greetingFor(target) + " [" + std::string(source) + ">" + std::string(target) + "] " + std::string(q);
}

std::string UpstreamStub::fullLanguageList()
{
    return languageListWithout({});
}

std::string UpstreamStub::languageListWithout(std::vector<std::pair<std::string, std::string>> droppedPairs,
                                              std::vector<std::string> codes)
{
    if (codes.empty()) {
        codes = everyCode();
    }
    Json list = Json::array();
    for (const std::string& source : codes) {
        Json targets = Json::array();
        for (const std::string& target : codes) {
            const bool dropped = std::find(droppedPairs.begin(), droppedPairs.end(),
                                           std::pair{source, target}) != droppedPairs.end();
            if (target != source && !dropped) {
                targets.push_back(target);
            }
        }
        list.push_back({{"code", source}, {"name", source}, {"targets", targets}});
    }
    return list.dump();
}

}  // namespace orbelin::service::test
