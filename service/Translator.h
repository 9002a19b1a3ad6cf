// Chooses the engine for a language pair: this machine's where they serve
// it, otherwise the upstream server when there is one. Every failure comes
// back as a Chinese sentence the client can show in its target box.
#pragma once

#include "Deadline.h"
#include "LocalEngines.h"
#include "Translation.h"
#include "UpstreamEngine.h"

#include <chrono>
#include <memory>
#include <string_view>

namespace orbelin::service {

struct TranslatorConfig {
    LocalEnginesConfig local;
    std::chrono::milliseconds timeout{30'000};  // a request's deadline, from the start of its translation
    UpstreamConfig upstream;                     // for the pairs the local engines lack
};

class Translator {
public:
    explicit Translator(const TranslatorConfig& config);  // throws on a bad upstream URL
    ~Translator();

    // By the local engines alone.
    bool supports(Language source, Language target) const { return local_.serves(source, target); }
    // A request's deadline is the timeout from the start of its translation.
    std::chrono::milliseconds timeout() const { return timeout_; }
    Translation translate(Language source, Language target, std::string_view text, Deadline deadline);
    Translation translate(Language source, Language target, std::string_view text)
    {
        return translate(source, target, text, Clock::now() + timeout_);
    }

    // Makes translations in progress fail at once (on shutdown).
    void abort() noexcept;

private:
    const std::chrono::milliseconds timeout_;
    LocalEngines local_;
    std::unique_ptr<UpstreamEngine> upstream_;  // empty without an upstream
};

}  // namespace orbelin::service
