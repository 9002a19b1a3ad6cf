#include "UpstreamEngine.h"

#include "Guarded.h"
#include "UpstreamMessages.h"

#include <algorithm>
#include <utility>

namespace orbelin::service {

namespace {

UpstreamStatus statusOf(ExchangeStatus status)
{
    switch (status) {
    case ExchangeStatus::done: return UpstreamStatus::done;
    case ExchangeStatus::unreachable: return UpstreamStatus::unreachable;
    case ExchangeStatus::closed: return UpstreamStatus::closed;
    case ExchangeStatus::timedOut: return UpstreamStatus::timedOut;
    case ExchangeStatus::stopped: return UpstreamStatus::failed;
    case ExchangeStatus::badAnswer: return UpstreamStatus::badAnswer;
    }
    return UpstreamStatus::failed;
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

UpstreamEngine::UpstreamEngine(UpstreamAddress address, std::string apiKey,
                               std::optional<std::chrono::milliseconds> exchangeLimit,
                               std::chrono::milliseconds startLimit)
    : address_(std::move(address)), apiKey_(std::move(apiKey)), exchangeLimit_(exchangeLimit)
{
    lastFailure_.status = UpstreamStatus::unreachable;
    firstRequest_ = std::thread([this, startLimit] {
        runGuarded("asking the upstream for its languages", [this, startLimit] {
            languages(Clock::now() + startLimit);
        });
    });
}

UpstreamEngine::~UpstreamEngine()
{
    abortAll();
    firstRequest_.join();
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
    const UpstreamAnswer answer =
        exchange({"GET", address_.basePath + "/languages", {}, UpstreamLanguages::maxListBytes}, deadline);
    if (answer.status != ExchangeStatus::done) {
        return {nullptr, {statusOf(answer.status), {}, 0}};
    }
    if (answer.httpStatus != 200) {
        return {nullptr, resultOfAnswer(answer.httpStatus, answer.body)};
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
    const UpstreamAnswer answer =
        exchange({"POST", address_.basePath + "/translate",
                  translateRequestJson(text, codes.source, codes.target, apiKey_), answerLimitFor(text.size())},
                 deadline);
    if (answer.status != ExchangeStatus::done) {
        return {statusOf(answer.status), {}, 0};
    }
    return resultOfAnswer(answer.httpStatus, answer.body);
}

UpstreamAnswer UpstreamEngine::exchange(UpstreamRequest request, Deadline deadline)
{
    if (exchangeLimit_) {
        deadline = std::min(deadline, Clock::now() + *exchangeLimit_);
    }
    if (stop_.raised()) {
        return {ExchangeStatus::stopped, 0, {}};
    }
    return exchangeWithUpstream(address_, request, deadline, stop_);
}

}  // namespace orbelin::service
