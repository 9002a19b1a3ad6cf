#include "TranslationService.h"

#include "ResultPage.h"
#include "TranslateRequest.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <sys/socket.h>
#include <variant>

namespace orbelin::service {

namespace {

constexpr const char* htmlType = "text/html; charset=utf-8";

// What the handler learnt about the request, for the log line the logger
// writes afterwards. httplib runs routing, handler and logger of one request
// on the same worker thread.
struct RequestNote {
    std::optional<std::chrono::steady_clock::time_point> start;
    std::string pair;
    std::string outcome;
    std::optional<std::size_t> bytes;
};
thread_local RequestNote note;

std::string outcomeForStatus(int status)
{
    switch (status) {
    case 400: return "bad-request";
    case 404: return "not-found";
    case 413: return "too-large";
    default: return "status-" + std::to_string(status);
    }
}

std::size_t declaredLength(const httplib::Request& request)
{
    const std::string value = request.get_header_value("Content-Length");
    std::size_t length = 0;
    std::from_chars(value.data(), value.data() + value.size(), length);
    return length;
}

}  // namespace

TranslationService::TranslationService(Translator& translator, std::FILE* log, const ConnectionLimits& limits)
    : limits_(limits), server_(limits), translator_(translator), log_(log)
{
    server_.set_payload_max_length(limits.body);
    server_.setRefusalPage([this](int status) { return refusalPage(status); });
    // httplib's default adds SO_REUSEPORT, which would let a second service
    // share the port silently instead of failing to start.
    server_.set_socket_options([](socket_t socket) {
        const int yes = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        note = RequestNote{std::chrono::steady_clock::now(), {}, {}, {}};
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // With a content reader httplib leaves the body alone; its own form
    // parsing would refuse urlencoded bodies far below our limit.
    server_.Post("/wl/translate", [this](const httplib::Request& request,
                                         httplib::Response& response,
                                         const httplib::ContentReader& readContent) {
        std::string body;
        body.reserve(std::min(declaredLength(request), maxBodyBytes));
        const bool complete = readContent([&body](const char* data, std::size_t length) {
            body.append(data, length);
            return body.size() <= maxBodyBytes;
        });
        // The client answers any error status by fetching an empty Location,
        // which would hide the reason: the result page carries it instead.
        if (body.size() > maxBodyBytes || declaredLength(request) > maxBodyBytes) {
            answerWithSentence(textTooLongSentence(), "too-large", response);
            response.set_header("Connection", "close");  // the rest of the body is not read
        } else if (!complete) {
            answerWithSentence(requestNotUnderstoodSentence("请求正文不完整。"), "bad-request", response);
            response.set_header("Connection", "close");
        } else {
            handleTranslate(std::move(body), response);
        }
    });
    server_.set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request&, httplib::Response& response) {
            if (!response.body.empty()) {
                return httplib::Server::HandlerResponse::Unhandled;  // a page of our own
            }
            fillErrorPage(response);
            return httplib::Server::HandlerResponse::Handled;
        }));
    server_.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.set_content(errorPage(500, "Internal Server Error", "服务内部错误。"),
                                 htmlType);
            note.outcome = "exception";
        });
    server_.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
        logRequest(request, response);
    });
}

int TranslationService::bind(const std::string& host, int port)
{
    const int bound = port == 0 ? server_.bind_to_any_port(host)
                                : (server_.bind_to_port(host, port) ? port : -1);
    if (bound > 0) {
        server_.widenBacklog();
    }
    return bound;
}

bool TranslationService::run()
{
    return server_.listen_after_bind();
}

void TranslationService::stop()
{
    server_.stop();
}

void TranslationService::handleTranslate(std::string body, httplib::Response& response)
{
    note.bytes = body.size();
    auto parsed = readTranslateRequest(std::move(body));
    if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
        answerWithSentence(requestNotUnderstoodSentence(bad->reason), "bad-request", response);
        return;
    }
    const TranslateRequest& translate = std::get<TranslateRequest>(parsed);
    note.pair = std::string(codeOf(translate.source)) + "->" + std::string(codeOf(translate.target));

    const Deadline deadline = Clock::now() + translator_.timeout();
    const std::unique_ptr<FairGate::Pass> turn = textBudget_->enter(translate.text.size(), deadline);
    Translation translation{Outcome::timedOut, timedOutSentence(translate.source, translate.target)};
    if (turn) {
        translation = translator_.translate(translate.source, translate.target, translate.text, deadline);
    }
    answerWithPage(translation.text, response);
    note.outcome = std::string(outcomeName(translation.outcome));
}

void TranslationService::answerWithSentence(const std::string& sentence, const char* outcome,
                                            httplib::Response& response)
{
    answerWithPage(sentence, response);
    note.outcome = outcome;
}

void TranslationService::answerWithPage(std::string_view text, httplib::Response& response)
{
    response.status = 200;
    response.body = resultPage(text);  // moved in: a long page is not copied
    response.set_header("Content-Type", htmlType);
}

std::string TranslationService::refusalPage(int status)
{
    // Nothing of the request is read: no method, path or pair.
    LogEntry entry{std::chrono::system_clock::now(), "-", "-", {}, 0, {}, status, {}};
    const auto kib = [](std::size_t bytes) { return std::to_string(bytes / 1024) + " KiB"; };
    std::string message;
    switch (status) {
    case 414:
        entry.outcome = "request-line-too-long";
        message.append("请求行超过 ").append(kib(limits_.head.requestLine)).append("。");
        break;
    case 431:
        entry.outcome = "head-too-large";
        message.append("请求头超过限制：每行最多 ").append(kib(limits_.head.headerLine));
        message.append("，共 ").append(kib(limits_.head.head)).append("。");
        break;
    default:
        entry.outcome = "request-timeout";
        message.append("请求未能在 ").append(std::to_string(limits_.requestArrival.count() / 1000));
        message.append(" 秒内完整到达。");
        break;
    }
    log_.write(entry);
    return errorPage(status, reasonFor(status), message);
}

void TranslationService::fillErrorPage(httplib::Response& response) const
{
    switch (response.status) {
    case 404:
        response.set_content(errorPage(404, "Not Found", "这里只有 POST /wl/translate。"), htmlType);
        break;
    case 413:
        response.set_content(errorPage(413, "Payload Too Large",
                                       "请求正文超过 " + std::to_string(limits_.body / 1024) + " KiB。"),
                             htmlType);
        break;
    case 400:
        response.set_content(errorPage(400, "Bad Request", "请求格式不正确。"), htmlType);
        break;
    default:
        response.set_content(errorPage(response.status, "Error", "请求未能完成。"), htmlType);
        break;
    }
}

void TranslationService::logRequest(const httplib::Request& request,
                                    const httplib::Response& response)
{
    LogEntry entry;
    entry.time = std::chrono::system_clock::now();
    entry.method = request.method;
    entry.path = request.path;
    entry.pair = note.pair;
    entry.bytes = note.bytes.value_or(declaredLength(request));
    if (note.start) {
        entry.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - *note.start)
                                 .count();
    }
    entry.status = response.status;
    entry.outcome = note.outcome.empty() ? outcomeForStatus(response.status) : note.outcome;
    log_.write(entry);
    note = RequestNote{};
}

}  // namespace orbelin::service
