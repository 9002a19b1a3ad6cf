// What the client does after a response: redirects, authorization, protocol
// errors and reading the body.

#include "http/NetHTTP.h"

#include "base/AnsiText.h"
#include "base/ScopeExit.h"
#include "base/Streams.h"
#include "net/NetException.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

namespace orbelin {

namespace {

constexpr int kDrainTimeout = 4000;
constexpr int kErrorBodyTimeout = 2000;
constexpr int kMaxAuthSteps = 8;

// The connection's read time-out set to timeout until the scope ends.
auto ReadTimeoutScope(TNetTCPConnection& c, int timeout)
{
    const int saved = std::exchange(c.ReadTimeout, timeout);
    return TScopeExit([&c, saved] { c.ReadTimeout = saved; });
}

// Writes into another stream until a number of bytes, then calls tooMuch
// (which raises) instead.
class TCappedStream : public TStream {
public:
    TCappedStream(TStream& target, int64_t cap, std::function<void()> tooMuch)
        : FTarget(target), FLeft(cap), FTooMuch(std::move(tooMuch))
    {
    }
    int64_t Read(void* buffer, int64_t count) override { return FTarget.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override
    {
        if (count > FLeft)
            FTooMuch();
        FLeft -= count;
        return FTarget.Write(buffer, count);
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FTarget.Seek(offset, origin); }
    void SetSize(int64_t size) override { FTarget.SetSize(size); }
    int64_t Size() override { return FTarget.Size(); }

private:
    TStream& FTarget;
    int64_t FLeft;
    std::function<void()> FTooMuch;
};

// A stream that forgets what is written to it.
class TDiscardStream : public TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override
    {
        FPosition += count;
        return count;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        FPosition = origin == TSeekOrigin::soBeginning ? offset : FPosition + offset;
        return FPosition;
    }
    void SetSize(int64_t) override {}
    int64_t Size() override { return FPosition; }

private:
    int64_t FPosition = 0;
};

bool IsRedirectStatus(int code) { return code >= 300 && code <= 399 && code != 304; }

// First word of a challenge: "Basic realm=..." gives "Basic".
std::string SchemeOf(const std::string& challenge)
{
    std::string rest = Trim(challenge);
    return SplitOff(rest, " ");
}

} // namespace

TNetNextStep TNetCustomHTTP::DecideNextStep()
{
    const int code = FResponse.StatusCode();
    if (IsRedirectStatus(code) || !FResponse.Location.empty())
        return DecideRedirect();

    TNetNextStep step = TNetNextStep::nsFollow;
    bool answeredAuth = false;
    if (code < 200 || code > 299) {
        if (code == 401 || code == 407) {
            const bool proxy = code == 407;
            const int attempts = proxy ? FProxyAuthAttempts : FAuthAttempts;
            if (attempts < AuthRetries && Authorize(proxy)) {
                answeredAuth = true;
            } else {
                if (TNetAuthentication* auth = proxy ? FProxyParams.Authentication() : FRequest.Authentication())
                    auth->Reset();
                RaiseProtocolError();
            }
        } else {
            RaiseProtocolError();
        }
    }
    if (!IsConnected())
        return answeredAuth ? step : TNetNextStep::nsUnknown;
    if (answeredAuth && HTTPOptions.Contains(TNetHTTPOption::hoInProcessAuth)) {
        DrainBody(kDrainTimeout);
        return TNetNextStep::nsRetryAuth;
    }
    if (code != 204)
        ReadResult(FResponse.BodyStream);
    return TNetNextStep::nsDone;
}

TNetNextStep TNetCustomHTTP::DecideRedirect()
{
    std::string destination = FResponse.Location;
    TNetHTTPMethod method = FRequest.RequestMethod;
    bool handled = HandleRedirects;
    TNetNextStep step = TNetNextStep::nsDone;
    if (OnRedirect)
        OnRedirect(this, destination, method, FRedirectCount, handled);
    if (!handled)
        RaiseProtocolError();
    if (HandleRedirects && FRedirectCount < RedirectMaximum) {
        FRequest.Target = destination;
        FRequest.RequestMethod = method;
        step = TNetNextStep::nsFollow;
    } else {
        FResponse.Location = destination;
    }
    if (IsConnected())
        DrainBody(kDrainTimeout);
    return step;
}

bool TNetCustomHTTP::Authorize(bool proxy)
{
    int& attempts = proxy ? FProxyAuthAttempts : FAuthAttempts;
    ++attempts;
    const TNetHeaderList& challenges = proxy ? FResponse.ProxyAuthenticate : FResponse.WWWAuthenticate;
    TNetAuthentication* auth = proxy ? FProxyParams.Authentication() : FRequest.Authentication();
    if (!auth) {
        std::optional<TNetAuthenticationClass> found;
        for (int i = 0; i < challenges.Count() && !found; ++i)
            found = FindAuthClass(SchemeOf(challenges[i]));
        if (!found)
            return false;
        const TNetSelectAuthorizationEvent& select = proxy ? OnSelectProxyAuthorization : OnSelectAuthorization;
        if (select)
            select(this, *found, challenges);
        if (!found->Create)
            return false;
        std::unique_ptr<TNetAuthentication> created = found->Create();
        auth = created.get();
        if (proxy)
            FProxyParams.SetAuthentication(std::move(created));
        else
            FRequest.SetAuthentication(std::move(created));
    }
    const TNetAuthorizationEvent& ask = proxy ? OnProxyAuthorization : OnAuthorization;
    if (!ask)
        return false;
    auth->SetUsername(proxy ? FProxyParams.ProxyUsername : FRequest.Username);
    auth->SetPassword(proxy ? FProxyParams.ProxyPassword : FRequest.Password);
    auth->AuthParams().Assign(challenges);
    for (int step = 0; step < kMaxAuthSteps; ++step) {
        switch (auth->Next()) {
        case TNetAuthWhatsNext::asReady:
            return true;
        case TNetAuthWhatsNext::asFail:
            return false;
        case TNetAuthWhatsNext::asAskCredentials: {
            bool handled = false;
            ask(this, auth, handled);
            if (!handled)
                return false;
            (proxy ? FProxyParams.ProxyUsername : FRequest.Username) = auth->Username();
            (proxy ? FProxyParams.ProxyPassword : FRequest.Password) = auth->Password();
            break;
        }
        }
    }
    return false;
}

void TNetCustomHTTP::RaiseProtocolError()
{
    // A time-out, socket or line-length error of this read is raised as
    // itself, in place of the protocol error.
    TStringStream body;
    {
        const auto timeout = ReadTimeoutScope(*this, kErrorBodyTimeout);
        ReadResult(&body);
    }
    throw ENetHTTPProtocolException(FResponse.StatusCode(), FResponse.StatusLine, body.DataString());
}

void TNetCustomHTTP::DrainBody(int timeout)
{
    TDiscardStream scratch;
    try {
        const auto scope = ReadTimeoutScope(*this, timeout);
        ReadResult(&scratch);
    } catch (const Exception&) {
        // Ignored, and the connection left as it is: whether it can carry
        // the next request is decided by the response, as for any other.
    }
}

void TNetCustomHTTP::ReadResult(TStream* target)
{
    // Nothing follows the head of an answer to HEAD, whatever it announces.
    if (!target || FRequest.RequestMethod == TNetHTTPMethod::hmHead)
        return;
    if (MaxResponseBody > 0 && FResponse.ContentLength() > MaxResponseBody)
        RaiseTooLarge(SNetResponseBodyTooLarge);
    TCappedStream capped(*target, MaxResponseBody, [this] { RaiseTooLarge(SNetResponseBodyTooLarge); });
    TStream* const stream = MaxResponseBody > 0 ? &capped : target;
    if (FResponse.ContentLength() > 0) {
        ReadIntoStreamUpTo(*stream, FResponse.ContentLength());
    } else if (FResponse.HeaderLines().ValueOf("Transfer-Encoding").find("chunked") != std::string::npos) {
        ReportStatus(TNetStatus::hsStatusText, SNetChunkStarted);
        ReadChunked(*stream);
    } else if (FResponse.HeaderLines().FindName("Content-Length") < 0) {
        ReadIntoStreamUpTo(*stream, -1); // until the peer closes, past 2 GiB too
    }
}

void TNetCustomHTTP::ReadChunked(TStream& stream)
{
    while (true) {
        std::string line = ReadLine(LF, -1, -1);
        std::string size = SplitOff(line, " ");
        size = SplitOff(size, ";"); // chunk extensions are not part of the size
        const int64_t n = size.empty() ? 0 : StrToInt64Def("$" + size, 0);
        if (n <= 0)
            break;
        ReadIntoStreamUpTo(stream, n);
        ReadLine(LF, -1, -1);
    }
    ReadLine(LF, -1, -1);
}

} // namespace orbelin
