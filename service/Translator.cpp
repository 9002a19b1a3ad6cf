#include "Translator.h"

#include "UpstreamRoute.h"

#include <stdexcept>

namespace orbelin::service {

namespace {

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
    std::string why;
    std::optional<UpstreamAddress> address = parseUpstreamUrl(config.upstream.url, &why);
    if (!address) {
        throw std::invalid_argument(why);
    }
    return std::make_unique<UpstreamEngine>(std::move(*address), config.upstream.apiKey,
                                            config.upstream.timeout, config.timeout);
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
    : timeout_(config.timeout), local_(config.local), upstream_(upstreamFor(config))
{
}

Translator::~Translator() = default;

Translation Translator::translate(Language source, Language target, std::string_view text,
                                  Deadline deadline)
{
    if (local_.serves(source, target) || !upstream_) {
        return local_.translate(source, target, text, deadline);
    }
    return translateThroughUpstream(*upstream_, local_, source, target, text, deadline);
}

void Translator::abort() noexcept
{
    local_.abort();
    if (upstream_) {
        upstream_->abortAll();
    }
}

}  // namespace orbelin::service
