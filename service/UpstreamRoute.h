// Pairs that no local engine serves go to the upstream server: directly when
// it offers the pair, otherwise through English when both legs can be
// translated (each leg locally where a local engine serves it). Failures
// become Chinese sentences that name the pair the user chose.
#pragma once

#include "LocalEngines.h"
#include "Translation.h"
#include "UpstreamEngine.h"

#include <string_view>

namespace orbelin::service {

Translation translateThroughUpstream(UpstreamEngine& upstream, LocalEngines& local,
                                     Language source, Language target, std::string_view text,
                                     Deadline deadline);

// The sentences shown instead of a translation.
std::string notOfferedSentence(Language source, Language target);
std::string upstreamFailureSentence(const UpstreamResult& failure, Language source, Language target);

}  // namespace orbelin::service
