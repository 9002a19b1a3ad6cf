// Translation by a self-hosted translation server (POST /translate,
// GET /languages with a JSON body), for the pairs no local engine serves.
// Every exchange ends by the request's deadline, however slowly the server
// answers, and at once on shutdown.
#pragma once

#include "Deadline.h"
#include "UpstreamAddress.h"
#include "UpstreamClient.h"
#include "UpstreamLanguages.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace orbelin::service {

struct UpstreamConfig {
    std::string url;  // http://host[:port][/path] or https://...; empty: no upstream
    std::string apiKey;
    // For one exchange, inside the request's deadline; none: the deadline alone.
    std::optional<std::chrono::milliseconds> timeout;
};

enum class UpstreamStatus {
    done,
    unreachable,  // no connection
    closed,       // the connection ended without an answer
    timedOut,     // the request's deadline (or the exchange's own limit) passed
    keyRefused,   // 403
    rateLimited,  // 429
    failed,       // another error status, or the engine is shutting down
    badAnswer,    // not the JSON the API promises, or larger than its limit
};

struct UpstreamResult {
    UpstreamStatus status = UpstreamStatus::failed;
    std::string text;  // the translation, or the server's own message about a failure
    int httpStatus = 0;
};

// What the server offers, or why that is not known.
struct UpstreamOffer {
    std::shared_ptr<const UpstreamLanguages> languages;
    UpstreamResult failure;  // when languages is empty
};

class UpstreamEngine {
public:
    // Asks for the language list at once, on a thread of its own, so that
    // the service starts without waiting for the server; that request ends
    // by startLimit.
    UpstreamEngine(UpstreamAddress address, std::string apiKey,
                   std::optional<std::chrono::milliseconds> exchangeLimit,
                   std::chrono::milliseconds startLimit);
    UpstreamEngine(const UpstreamEngine&) = delete;
    UpstreamEngine& operator=(const UpstreamEngine&) = delete;
    ~UpstreamEngine();

    // The list once it is known; until then each call asks again (one
    // request at a time, the others waiting for its outcome).
    UpstreamOffer languages(Deadline deadline);

    UpstreamResult translate(const UpstreamPair& codes, std::string_view text, Deadline deadline);

    // Ends every exchange now and makes later ones fail (on shutdown).
    void abortAll() noexcept { stop_.raise(); }

private:
    UpstreamAnswer exchange(UpstreamRequest request, Deadline deadline);
    UpstreamOffer fetchLanguages(Deadline deadline);

    const UpstreamAddress address_;
    const std::string apiKey_;
    const std::optional<std::chrono::milliseconds> exchangeLimit_;
    StopSignal stop_;

    std::timed_mutex fetching_;  // one language request at a time
    std::mutex stateMutex_;
    std::shared_ptr<const UpstreamLanguages> known_;  // guarded by stateMutex_
    UpstreamResult lastFailure_;                      // guarded by stateMutex_
    std::uint64_t attempts_ = 0;                      // guarded by stateMutex_

    std::thread firstRequest_;
};

}  // namespace orbelin::service
