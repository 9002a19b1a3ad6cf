// Pairs that no local engine serves go to the upstream server: directly when
// it offers the pair, otherwise through English when both legs can be
// translated (each leg locally where a local engine serves it). Failures
// become Chinese sentences that name the pair the user chose.
#pragma once

#include "Translator.h"
#include "UpstreamEngine.h"

#include <functional>
#include <string_view>

namespace orbelin::service {

// The engines of this machine, for the legs of a chain they serve.
struct LocalEngines {
    std::function<bool(Language from, Language to)> serves;
    std::function<Translation(Language from, Language to, std::string_view text, Deadline deadline)> translate;
};

Translation translateThroughUpstream(UpstreamEngine& upstream, const LocalEngines& local,
                                     Language source, Language target, std::string_view text,
                                     Deadline deadline);

// The sentences shown instead of a translation.
std::string notOfferedSentence(Language source, Language target);
std::string upstreamFailureSentence(const UpstreamResult& failure, Language source, Language target);

}  // namespace orbelin::service
