#include "UpstreamEngine.h"

#include "UpstreamMessages.h"

#include <algorithm>
#include <httplib.h>
#include <utility>

namespace orbelin::service {

namespace {

using namespace std::chrono_literals;

// Far above any translation the client can send; a server that goes on
// sending is cut off rather than held in memory.
constexpr std::size_t maxAnswerBytes = 8 * 1024 * 1024;

// The socket time-outs reach past the deadline, so that it is always the
// deadline watch that ends a slow exchange, and its firing says so.
constexpr auto socketMargin = 1s;

UpstreamStatus statusOfError(httplib::Error error)
{
    switch (error) {
    case httplib::Error::Connection:
    case httplib::Error::BindIPAddress:
    case httplib::Error::ConnectionTimeout:
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLServerVerification:
        return UpstreamStatus::unreachable;
    case httplib::Error::Read:
    case httplib::Error::Write:
        return UpstreamStatus::closed;
    default:
        return UpstreamStatus::badAnswer;
    }
}

UpstreamResult resultOfAnswer(int httpStatus, std::string_view body)
{
    TranslateAnswer answer = readTranslateAnswer(httpStatus, body);
    UpstreamResult result{UpstreamStatus::failed, std::move(answer.text), httpStatus};
    switch (answer.kind) {
    case AnswerKind::translated: result.status = UpstreamStatus::done; break;
    case AnswerKind::keyRefused: result.status = UpstreamStatus::keyRefused; break;
    case AnswerKind::rateLimited: result.status = UpstreamStatus::rateLimited; break;
    case AnswerKind::failed: result.status = UpstreamStatus::failed; break;
    case AnswerKind::badAnswer: result.status = UpstreamStatus::badAnswer; break;
    }
    return result;
}

}  // namespace

std::optional<UpstreamAddress> parseUpstreamUrl(std::string_view url)
{
    std::string_view rest;
    std::string_view scheme;
    for (const std::string_view candidate : {"http", "https"}) {
        if (url.starts_with(candidate) && url.substr(candidate.size()).starts_with("://")) {
            scheme = candidate;
            rest = url.substr(candidate.size() + 3);
        }
    }
    if (scheme.empty() || rest.find_first_of("?#@ \t\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    std::string_view path = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    while (path.ends_with('/')) {
        path.remove_suffix(1);
    }
    if (authority.empty() || authority.ends_with(':')) {
        return std::nullopt;
    }
    return UpstreamAddress{std::string(scheme) + "://" + std::string(authority), std::string(path)};
}

UpstreamEngine::UpstreamEngine(UpstreamAddress address, std::string apiKey,
                               std::optional<std::chrono::milliseconds> exchangeLimit,
                               std::chrono::milliseconds startLimit)
    : address_(std::move(address)), apiKey_(std::move(apiKey)), exchangeLimit_(exchangeLimit)
{
    lastFailure_.status = UpstreamStatus::unreachable;
    firstRequest_ = std::thread([this, startLimit] { languages(Clock::now() + startLimit); });
}

UpstreamEngine::~UpstreamEngine()
{
    abortAll();
    firstRequest_.join();
}

void UpstreamEngine::abortAll() noexcept
{
    aborted_ = true;
    watch_.stopAll();
}

UpstreamOffer UpstreamEngine::languages(Deadline deadline)
{
    std::uint64_t attemptsBefore = 0;
    {
        const std::lock_guard lock(stateMutex_);
        if (known_) {
            return {known_, {}};
        }
        attemptsBefore = attempts_;
    }
    std::unique_lock fetch(fetching_, std::defer_lock);
    if (!fetch.try_lock_until(deadline)) {
        return {nullptr, {UpstreamStatus::timedOut, {}, 0}};
    }
    {
        // Another request has just asked: its outcome is as fresh as ours would be.
        const std::lock_guard lock(stateMutex_);
        if (known_) {
            return {known_, {}};
        }
        if (attempts_ != attemptsBefore) {
            return {nullptr, lastFailure_};
        }
    }
    UpstreamOffer offer = fetchLanguages(deadline);
    const std::lock_guard lock(stateMutex_);
    ++attempts_;
    if (offer.languages) {
        known_ = offer.languages;
    } else {
        lastFailure_ = offer.failure;
    }
    return offer;
}

UpstreamOffer UpstreamEngine::fetchLanguages(Deadline deadline)
{
    Exchange answer = exchange("GET", address_.basePath + "/languages", {}, deadline);
    if (answer.status != UpstreamStatus::done) {
        return {nullptr, {answer.status, {}, 0}};
    }
    if (answer.httpStatus != 200) {
        UpstreamResult failure = resultOfAnswer(answer.httpStatus, answer.body);
        return {nullptr, std::move(failure)};
    }
    std::optional<UpstreamLanguages> list = UpstreamLanguages::parse(answer.body);
    if (!list) {
        return {nullptr, {UpstreamStatus::badAnswer, {}, 200}};
    }
    return {std::make_shared<const UpstreamLanguages>(std::move(*list)), {}};
}

UpstreamResult UpstreamEngine::translate(const UpstreamPair& codes, std::string_view text,
                                         Deadline deadline)
{
    Exchange answer = exchange("POST", address_.basePath + "/translate",
                               translateRequestJson(text, codes.source, codes.target, apiKey_),
                               deadline);
    if (answer.status != UpstreamStatus::done) {
        return {answer.status, {}, 0};
    }
    return resultOfAnswer(answer.httpStatus, answer.body);
}

UpstreamEngine::Exchange UpstreamEngine::exchange(const std::string& method,
                                                  const std::string& path, std::string body,
                                                  Deadline deadline)
{
    if (exchangeLimit_) {
        deadline = std::min(deadline, Clock::now() + *exchangeLimit_);
    }
    const auto remaining = deadline - Clock::now();
    if (aborted_ || remaining <= Clock::duration::zero()) {
        return {aborted_ ? UpstreamStatus::failed : UpstreamStatus::timedOut, 0, {}};
    }
    httplib::Client client(address_.origin);
    const auto socketLimit = std::chrono::duration_cast<std::chrono::microseconds>(remaining) + socketMargin;
    client.set_connection_timeout(socketLimit);
    client.set_read_timeout(socketLimit);
    client.set_write_timeout(socketLimit);
    client.set_keep_alive(false);

    httplib::Request request;
    request.method = method;
    request.path = path;
    request.set_header("Accept", "application/json");
    if (method == "POST") {
        request.set_header("Content-Type", "application/json");
        request.body = std::move(body);
    }
    std::string answerBody;
    bool tooLarge = false;
    request.content_receiver = [&](const char* data, std::size_t length, std::uint64_t,
                                   std::uint64_t) {
        tooLarge = answerBody.size() + length > maxAnswerBytes;
        if (!tooLarge) {
            answerBody.append(data, length);
        }
        return !tooLarge;
    };

    // Declared after the client: the watch lets go of it before it goes.
    const DeadlineWatch::Ticket ticket = watch_.watch(deadline, [&client] { client.stop(); });
    const httplib::Result result = client.send(request);
    if (aborted_) {
        return {UpstreamStatus::failed, 0, {}};
    }
    if (ticket.fired()) {
        return {UpstreamStatus::timedOut, 0, {}};
    }
    if (tooLarge) {
        return {UpstreamStatus::badAnswer, 0, {}};
    }
    if (!result) {
        return {statusOfError(result.error()), 0, {}};
    }
    return {UpstreamStatus::done, result->status, std::move(answerBody)};
}

}  // namespace orbelin::service
