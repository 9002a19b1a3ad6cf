#include "LocalEngines.h"

namespace orbelin::service {

namespace {

bool isChinesePair(Language source, Language target)
{
    return (source == Language::zhCn && target == Language::zhTw) ||
           (source == Language::zhTw && target == Language::zhCn);
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

LocalEngines::LocalEngines(const LocalEnginesConfig& config)
    : apertium_(ModeCatalog::scan(config.apertiumModes)),
      toTraditional_(config.simplifiedToTraditional),
      toSimplified_(config.traditionalToSimplified)
{
}

bool LocalEngines::serves(Language source, Language target) const
{
    return source == target || isChinesePair(source, target) || apertium_.supports(source, target);
}

Translation LocalEngines::translate(Language source, Language target, std::string_view text,
                                    Deadline deadline)
{
    if (source == target) {
        return {Outcome::translated, std::string(text)};
    }
    if (source == Language::zhCn && target == Language::zhTw) {
        return outcomeOf(toTraditional_.convert(text, deadline), source, target);
    }
    if (source == Language::zhTw && target == Language::zhCn) {
        return outcomeOf(toSimplified_.convert(text, deadline), source, target);
    }
    if (!apertium_.supports(source, target)) {
        return {Outcome::unsupported, unsupportedSentence(source, target)};
    }
    return outcomeOf(apertium_.translate(source, target, text, deadline), source, target);
}

void LocalEngines::abort() noexcept
{
    apertium_.abortAll();
    toTraditional_.abort();
    toSimplified_.abort();
}

}  // namespace orbelin::service
