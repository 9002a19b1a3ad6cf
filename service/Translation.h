// What a translation ends with, and the Chinese sentences the client shows
// in its target box when there is none.
#pragma once

#include "Languages.h"

#include <string>
#include <string_view>

namespace orbelin::service {

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

std::string unsupportedSentence(Language source, Language target);
std::string engineFailedSentence(Language source, Language target);
std::string timedOutSentence(Language source, Language target);

}  // namespace orbelin::service
