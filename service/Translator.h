// Chooses the engine for a language pair and turns every failure into a
// Chinese sentence the client can show in its target box.
#pragma once

#include "ApertiumEngine.h"
#include "ChineseConverter.h"
#include "Languages.h"
#include "UpstreamEngine.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin::service {

struct TranslatorConfig {
    std::filesystem::path apertiumModes = "/usr/share/apertium/modes";
    std::string simplifiedToTraditional = "s2tw.json";
    std::string traditionalToSimplified = "tw2s.json";
    std::chrono::milliseconds timeout{30'000};
    UpstreamConfig upstream;  // for the pairs the local engines lack
};

enum class Outcome {
    translated,
    unsupported,
    engineFailed,
    timedOut,
    upstreamUnreachable,
    upstreamClosed,
    upstreamKeyRefused,
    upstreamRateLimited,
    upstreamFailed,
    upstreamBadAnswer,
};

std::string_view outcomeName(Outcome outcome);

struct Translation {
    Outcome outcome = Outcome::translated;
    std::string text;  // the translation, or the sentence saying why there is none
};

class Translator {
public:
    explicit Translator(const TranslatorConfig& config);  // throws on a bad upstream URL
    ~Translator();

    // By the local engines alone.
    bool supports(Language source, Language target) const;
    Translation translate(Language source, Language target, std::string_view text);

    // Makes translations in progress fail at once (on shutdown).
    void abort() noexcept;

private:
    Translation translateLocally(Language source, Language target, std::string_view text,
                                 Deadline deadline);
    Translation convertChinese(ChineseConverter& converter, Language source, Language target,
                               std::string_view text, Deadline deadline);

    const std::chrono::milliseconds timeout_;
    ApertiumEngine apertium_;
    ChineseConverter toTraditional_;
    ChineseConverter toSimplified_;
    std::unique_ptr<UpstreamEngine> upstream_;  // empty without an upstream
};

// The sentences shown instead of a translation.
std::string unsupportedSentence(Language source, Language target);
std::string engineFailedSentence(Language source, Language target);
std::string timedOutSentence(Language source, Language target);

}  // namespace orbelin::service
