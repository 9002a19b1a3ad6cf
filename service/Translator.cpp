#include "Translator.h"

#include "UpstreamRoute.h"

#include <stdexcept>

namespace orbelin::service {

namespace {

bool isChinesePair(Language source, Language target)
{
    return (source == Language::zhCn && target == Language::zhTw) ||
           (source == Language::zhTw && target == Language::zhCn);
}

std::string sentence(std::string_view before, Language source, Language target,
                     std::string_view after)
{
    std::string text(before);
    text.append("从").append(chineseName(source)).append("到").append(chineseName(target));
    text.append(after);
    return text;
}

std::unique_ptr<UpstreamEngine> upstreamFor(const TranslatorConfig& config)
{
    if (config.upstream.url.empty()) {
        return nullptr;
    }
    std::optional<UpstreamAddress> address = parseUpstreamUrl(config.upstream.url);
    if (!address) {
        throw std::invalid_argument("not an http or https URL: " + config.upstream.url);
    }
    return std::make_unique<UpstreamEngine>(std::move(*address), config.upstream.apiKey,
                                            config.upstream.timeout,
                                            config.upstream.timeout.value_or(config.timeout));
}

Translation outcomeOf(IoResult result, Language source, Language target)
{
    switch (result.status) {
    case IoStatus::done: return {Outcome::translated, std::move(result.output)};
    case IoStatus::timedOut: return {Outcome::timedOut, timedOutSentence(source, target)};
    case IoStatus::failed: break;
    }
    return {Outcome::engineFailed, engineFailedSentence(source, target)};
}

}  // namespace

std::string_view outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::translated: return "ok";
    case Outcome::unsupported: return "unsupported";
    case Outcome::engineFailed: return "engine-failed";
    case Outcome::timedOut: return "timed-out";
    case Outcome::upstreamUnreachable: return "upstream-unreachable";
    case Outcome::upstreamClosed: return "upstream-closed";
    case Outcome::upstreamKeyRefused: return "upstream-key-refused";
    case Outcome::upstreamRateLimited: return "upstream-rate-limited";
    case Outcome::upstreamFailed: return "upstream-failed";
    case Outcome::upstreamBadAnswer: return "upstream-bad-answer";
    }
    return "?";
}

std::string unsupportedSentence(Language source, Language target)
{
    return sentence("抱歉，本地翻译服务暂不支持", source, target, "的翻译。");
}

std::string engineFailedSentence(Language source, Language target)
{
    return sentence("抱歉，翻译引擎出错，未能完成", source, target, "的翻译，请稍后再试。");
}

std::string timedOutSentence(Language source, Language target)
{
    return sentence("抱歉，翻译引擎响应超时，未能完成", source, target, "的翻译，请稍后再试。");
}

Translator::Translator(const TranslatorConfig& config)
    : timeout_(config.timeout),
      apertium_(ModeCatalog::scan(config.apertiumModes)),
      toTraditional_(config.simplifiedToTraditional),
      toSimplified_(config.traditionalToSimplified),
      upstream_(upstreamFor(config))
{
}

Translator::~Translator() = default;

bool Translator::supports(Language source, Language target) const
{
    return source == target || isChinesePair(source, target) || apertium_.supports(source, target);
}

Translation Translator::translate(Language source, Language target, std::string_view text)
{
    if (source == target) {
        return {Outcome::translated, std::string(text)};
    }
    const Deadline deadline = Clock::now() + timeout_;
    if (supports(source, target) || !upstream_) {
        return translateLocally(source, target, text, deadline);
    }
    const LocalEngines local{
        [this](Language from, Language to) { return supports(from, to); },
        [this](Language from, Language to, std::string_view leg, Deadline legDeadline) {
            return translateLocally(from, to, leg, legDeadline);
        }};
    return translateThroughUpstream(*upstream_, local, source, target, text, deadline);
}

Translation Translator::translateLocally(Language source, Language target, std::string_view text,
                                         Deadline deadline)
{
    if (source == Language::zhCn && target == Language::zhTw) {
        return convertChinese(toTraditional_, source, target, text, deadline);
    }
    if (source == Language::zhTw && target == Language::zhCn) {
        return convertChinese(toSimplified_, source, target, text, deadline);
    }
    if (!apertium_.supports(source, target)) {
        return {Outcome::unsupported, unsupportedSentence(source, target)};
    }
    return outcomeOf(apertium_.translate(source, target, text, deadline), source, target);
}

void Translator::abort() noexcept
{
    apertium_.abortAll();
    if (upstream_) {
        upstream_->abortAll();
    }
}

Translation Translator::convertChinese(ChineseConverter& converter, Language source,
                                       Language target, std::string_view text, Deadline deadline)
{
    return outcomeOf(converter.convert(text, deadline), source, target);
}

}  // namespace orbelin::service
