#include "UpstreamRoute.h"

#include <utility>

namespace orbelin::service {

namespace {

std::string pairText(Language source, Language target)
{
    std::string text("从");
    text.append(chineseName(source)).append("到").append(chineseName(target));
    return text;
}

// "（HTTP 500：message）" or "（HTTP 500）".
std::string statusNote(const UpstreamResult& failure)
{
    std::string note = "（HTTP " + std::to_string(failure.httpStatus);
    if (!failure.text.empty()) {
        note.append("：").append(failure.text);
    }
    return note + "）";
}

Outcome outcomeOf(UpstreamStatus status)
{
    switch (status) {
    case UpstreamStatus::done: return Outcome::translated;
    case UpstreamStatus::unreachable: return Outcome::upstreamUnreachable;
    case UpstreamStatus::closed: return Outcome::upstreamClosed;
    case UpstreamStatus::timedOut: return Outcome::timedOut;
    case UpstreamStatus::keyRefused: return Outcome::upstreamKeyRefused;
    case UpstreamStatus::rateLimited: return Outcome::upstreamRateLimited;
    case UpstreamStatus::failed: return Outcome::upstreamFailed;
    case UpstreamStatus::badAnswer: return Outcome::upstreamBadAnswer;
    }
    return Outcome::upstreamFailed;
}

class Route {
public:
    Route(UpstreamEngine& upstream, LocalEngines& local, const UpstreamLanguages& offered,
          Language source, Language target)
        : upstream_(upstream), local_(local), offered_(offered), source_(source), target_(target)
    {
    }

    bool canTranslate(Language from, Language to) const
    {
        return local_.serves(from, to) || offered_.translates(from, to);
    }

    Translation leg(Language from, Language to, std::string_view text, Deadline deadline) const
    {
        if (local_.serves(from, to)) {
            return localLeg(from, to, text, deadline);
        }
        const std::optional<UpstreamPair> codes = offered_.pair(from, to);
        if (!codes) {
            return {Outcome::unsupported, notOfferedSentence(source_, target_)};
        }
        UpstreamResult result = upstream_.translate(*codes, text, deadline);
        if (result.status != UpstreamStatus::done) {
            return {outcomeOf(result.status), upstreamFailureSentence(result, source_, target_)};
        }
        return {Outcome::translated, std::move(result.text)};
    }

private:
    // A failed leg is reported for the pair the user chose.
    Translation localLeg(Language from, Language to, std::string_view text, Deadline deadline) const
    {
        Translation done = local_.translate(from, to, text, deadline);
        switch (done.outcome) {
        case Outcome::timedOut: done.text = timedOutSentence(source_, target_); break;
        case Outcome::translated: break;
        default: done.text = engineFailedSentence(source_, target_); break;
        }
        return done;
    }

    UpstreamEngine& upstream_;
    LocalEngines& local_;
    const UpstreamLanguages& offered_;
    const Language source_;
    const Language target_;
};

}  // namespace

std::string notOfferedSentence(Language source, Language target)
{
    return "抱歉，本地翻译服务和上游翻译服务器都不支持" + pairText(source, target) + "的翻译。";
}

std::string upstreamFailureSentence(const UpstreamResult& failure, Language source,
                                    Language target)
{
    const std::string pair = pairText(source, target);
    switch (failure.status) {
    case UpstreamStatus::unreachable:
        return "抱歉，无法连接上游翻译服务器，未能完成" + pair + "的翻译，请稍后再试。";
    case UpstreamStatus::closed:
        return "抱歉，上游翻译服务器未作回答就断开了连接，未能完成" + pair + "的翻译，请稍后再试。";
    case UpstreamStatus::timedOut:
        return "抱歉，上游翻译服务器响应超时，未能完成" + pair + "的翻译，请稍后再试。";
    case UpstreamStatus::keyRefused:
        return "抱歉，上游翻译服务器拒绝了服务的 API 密钥，未能完成" + pair + "的翻译，请联系服务管理员。";
    case UpstreamStatus::rateLimited:
        return "抱歉，发往上游翻译服务器的请求过于频繁，未能完成" + pair + "的翻译，请稍后再试。";
    case UpstreamStatus::badAnswer:
        return "抱歉，上游翻译服务器的回答无法识别，未能完成" + pair + "的翻译。";
    case UpstreamStatus::failed:
    case UpstreamStatus::done:
        break;
    }
    if (failure.httpStatus == 0) {
        return "抱歉，翻译引擎出错，未能完成" + pair + "的翻译，请稍后再试。";
    }
    return "抱歉，上游翻译服务器出错" + statusNote(failure) + "，未能完成" + pair + "的翻译。";
}

Translation translateThroughUpstream(UpstreamEngine& upstream, LocalEngines& local,
                                     Language source, Language target, std::string_view text,
                                     Deadline deadline)
{
    const UpstreamOffer offer = upstream.languages(deadline);
    if (!offer.languages) {
        return {outcomeOf(offer.failure.status), upstreamFailureSentence(offer.failure, source, target)};
    }
    const Route route(upstream, local, *offer.languages, source, target);
    if (offer.languages->translates(source, target)) {
        return route.leg(source, target, text, deadline);
    }
    const Language pivot = Language::en;
    if (source == pivot || target == pivot || !route.canTranslate(source, pivot) ||
        !route.canTranslate(pivot, target)) {
        return {Outcome::unsupported, notOfferedSentence(source, target)};
    }
    Translation first = route.leg(source, pivot, text, deadline);
    if (first.outcome != Outcome::translated) {
        return first;
    }
    return route.leg(pivot, target, first.text, deadline);
}

}  // namespace orbelin::service
