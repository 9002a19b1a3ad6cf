#pragma once
// The HTTP/1.0 and HTTP/1.1 client: one request at a time over a blocking TCP
// connection, with redirects, authorization, cookies and protocol errors.

#include "http/NetCookieManager.h"
#include "http/NetHTTPErrors.h"
#include "http/NetHTTPHeaderInfo.h"
#include "http/NetURI.h"
#include "net/NetTCPClient.h"

#include <functional>
#include <memory>
#include <string>

namespace orbelin {

class TStream;
class TNetCustomHTTP;

enum class TNetHTTPMethod { hmHead, hmGet, hmPost, hmOptions, hmTrace, hmPut, hmDelete, hmConnect };
enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };
enum class TNetHTTPOption { hoInProcessAuth = 1, hoKeepOrigProtocol = 2, hoForceEncodeParams = 4 };
enum class TNetRouteKind { rkDirect, rkTls, rkProxy, rkTlsProxy };
enum class TNetNextStep { nsFollow, nsDone, nsUnknown, nsRetryAuth };

class TNetHTTPOptions {
public:
    constexpr TNetHTTPOptions() = default;
    constexpr TNetHTTPOptions(std::initializer_list<TNetHTTPOption> options)
    {
        for (const TNetHTTPOption o : options)
            FBits |= static_cast<unsigned>(o);
    }
    constexpr bool Contains(TNetHTTPOption o) const { return (FBits & static_cast<unsigned>(o)) != 0; }
    void Include(TNetHTTPOption o) { FBits |= static_cast<unsigned>(o); }
    void Exclude(TNetHTTPOption o) { FBits &= ~static_cast<unsigned>(o); }
    constexpr bool operator==(const TNetHTTPOptions&) const = default;

private:
    unsigned FBits = 0;
};

// The request-line verb with its trailing blank.
const char* MethodVerb(TNetHTTPMethod method);
const char* ProtocolVersionText(TNetHTTPProtocolVersion version);

class TNetHTTPRequest : public TNetRequestHeaderInfo {
public:
    std::string Target;
    TNetHTTPMethod RequestMethod = TNetHTTPMethod::hmGet;
    TStream* BodySource = nullptr;
    TNetRouteKind Route = TNetRouteKind::rkDirect;
};

class TNetHTTPResponse : public TNetResponseHeaderInfo {
public:
    explicit TNetHTTPResponse(TNetCustomHTTP& client) : FClient(client) {}

    std::string StatusLine;
    TNetHTTPProtocolVersion ServerVersion = TNetHTTPProtocolVersion::pv1_0;
    TStream* BodyStream = nullptr;

    // Read from the status line each time.
    int StatusCode() const;
    // Whether the open connection may carry the next request; also notices
    // a peer that has closed.
    bool ReuseConnection();

private:
    TNetCustomHTTP& FClient;
};

using TNetRedirectEvent =
    std::function<void(TObject* sender, std::string& destination, TNetHTTPMethod& method, int count, bool& handled)>;
using TNetSelectAuthorizationEvent =
    std::function<void(TObject* sender, TNetAuthenticationClass& authClass, const TNetHeaderList& challenges)>;
using TNetAuthorizationEvent = std::function<void(TObject* sender, TNetAuthentication* authentication, bool& handled)>;

class TNetCustomHTTP : public TNetTCPClient {
public:
    explicit TNetCustomHTTP(TComponent* owner);
    ~TNetCustomHTTP() override;

    void Get(const std::string& url, TStream* response);
    std::string Get(const std::string& url);
    void Post(const std::string& url, TStream& source, TStream* response);
    void Head(const std::string& url);
    void Put(const std::string& url, TStream& source, TStream* response);
    void Options(const std::string& url, TStream* response);
    void Trace(const std::string& url, TStream* response);
    // The exchange itself (method, URL, body source, response stream).
    void DoRequest(TNetHTTPMethod method, const std::string& url, TStream* source, TStream* response);

    int AuthRetries = 3;
    bool AllowCookies = true;
    bool HandleRedirects = false;
    int RedirectMaximum = 15;
    // What one answer may bring: its heads (interim ones included) in bytes
    // and lines, and its body in bytes (0: any size, for a caller that
    // streams the body to a file). Beyond them the connection is closed and
    // ENetHTTPResponseTooLarge raised.
    int MaxHeadBytes = 64 * 1024;
    int MaxHeadLines = 256;
    int64_t MaxResponseBody = 0;
    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    TNetHTTPOptions HTTPOptions{TNetHTTPOption::hoForceEncodeParams};

    TNetProxyConnectionInfo& ProxyParams() { return FProxyParams; }
    TNetHTTPRequest& Request() { return FRequest; }
    TNetHTTPResponse& Response() { return FResponse; }
    const TNetURI& URL() const { return FURI; }
    int RedirectCount() const { return FRedirectCount; }
    int AuthAttempts() const { return FAuthAttempts; }

    TNetCookieManager* CookieManager() const { return FCookieManager; }
    // An assigned store is only referred to; a store the client made is freed.
    void SetCookieManager(TNetCookieManager* manager);

    TNetRedirectEvent OnRedirect;
    TNetSelectAuthorizationEvent OnSelectAuthorization;
    TNetSelectAuthorizationEvent OnSelectProxyAuthorization;
    TNetAuthorizationEvent OnAuthorization;
    TNetAuthorizationEvent OnProxyAuthorization;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TNetNextStep RunOnce(TStream* response, int64_t start);
    void PrepareRequest();
    void ConnectAndSend();
    void SelectRoute();
    void SendHead();
    void ReadAnswer();
    void ReadHeaderLines();
    // Counts a line of the answer's heads against their limits.
    void CountHeadLine(const std::string& line);
    [[noreturn]] void RaiseTooLarge(const char* message);
    void ProcessCookies();
    TNetNextStep DecideNextStep();
    TNetNextStep DecideRedirect();
    bool Authorize(bool proxy);
    [[noreturn]] void RaiseProtocolError();
    // Reads and drops a body with a temporary read time-out, ignoring errors.
    void DrainBody(int timeout);
    // The body into stream; no stream, no read.
    void ReadResult(TStream* stream);
    void ReadChunked(TStream& stream);

    TNetURI FURI;
    TNetHTTPRequest FRequest;
    TNetHTTPResponse FResponse{*this};
    TNetProxyConnectionInfo FProxyParams;
    TNetCookieManager* FCookieManager = nullptr;
    std::unique_ptr<TNetCookieManager> FOwnCookieManager; // the store the client made, if any
    int FRedirectCount = 0;
    int FAuthAttempts = 0;
    int FProxyAuthAttempts = 0;
    int64_t FHeadBytes = 0; // of the answer being read
    int FHeadLines = 0;
};

// The published component the form description configures.
class TNetHTTP : public TNetCustomHTTP {
public:
    using TNetCustomHTTP::TNetCustomHTTP;
    const TPropertyTable<TComponent>& Properties() const override;
};

} // namespace orbelin
