#include "http/NetHTTP.h"

#include "base/AnsiText.h"
#include "base/ScopeExit.h"
#include "base/Streams.h"
#include "net/NetException.h"

#include <algorithm>
#include <limits>

namespace orbelin {


const char* MethodVerb(TNetHTTPMethod method)
{
    switch (method) {
    case TNetHTTPMethod::hmHead: return "HEAD ";
    case TNetHTTPMethod::hmGet: return "GET ";
    case TNetHTTPMethod::hmPost: return "POST ";
    case TNetHTTPMethod::hmOptions: return "OPTIONS ";
    case TNetHTTPMethod::hmTrace: return "TRACE ";
    case TNetHTTPMethod::hmPut: return "PUT ";
    case TNetHTTPMethod::hmDelete: return "DELETE ";
    case TNetHTTPMethod::hmConnect: return "CONNECT ";
    }
    return "GET ";
}

const char* ProtocolVersionText(TNetHTTPProtocolVersion version)
{
    return version == TNetHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
}

// ---- response ----

int TNetHTTPResponse::StatusCode() const
{
    std::string rest = StatusLine;
    if (PosFirst(" ", rest) == 0)
        return -1;
    SplitOff(rest, " ");
    rest = Trim(rest);
    const std::string code = SplitOff(rest, " ");
    int64_t value = 0;
    const bool digits = !code.empty() && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits && code.size() < 10 && TryStrToInt64(code, value) ? static_cast<int>(value) : -1;
}

bool TNetHTTPResponse::ReuseConnection()
{
    const std::string version = Copy(StatusLine, 6, 3);
    if (SameText(version, "1.0"))
        ServerVersion = TNetHTTPProtocolVersion::pv1_0;
    else if (SameText(version, "1.1"))
        ServerVersion = TNetHTTPProtocolVersion::pv1_1;
    FClient.CheckDisconnect(false, false);
    if (!FClient.IsConnected())
        return false;
    const std::string connection = Trim(Connection);
    const std::string proxyConnection = Trim(ProxyConnection);
    if (FClient.ProtocolVersion == TNetHTTPProtocolVersion::pv1_0)
        return SameText(connection, "KEEP-ALIVE") || SameText(proxyConnection, "KEEP-ALIVE");
    return !SameText(connection, "CLOSE") && !SameText(proxyConnection, "CLOSE");
}

// ---- client ----

TNetCustomHTTP::TNetCustomHTTP(TComponent* owner) : TNetTCPClient(owner) { SetPort(80); }

TNetCustomHTTP::~TNetCustomHTTP()
{
    if (FCookieManager && FCookieManager != FOwnCookieManager.get())
        FCookieManager->RemoveFreeNotification(this);
}

void TNetCustomHTTP::SetCookieManager(TNetCookieManager* manager)
{
    if (manager == FCookieManager)
        return;
    if (FCookieManager && FCookieManager != FOwnCookieManager.get())
        FCookieManager->RemoveFreeNotification(this);
    FCookieManager = manager;
    FOwnCookieManager.reset();
    if (manager)
        manager->FreeNotification(this);
}

void TNetCustomHTTP::Notification(TComponent* component, TOperation operation)
{
    TNetTCPClient::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FCookieManager)
        FCookieManager = nullptr;
}

void TNetCustomHTTP::Get(const std::string& url, TStream* response)
{
    DoRequest(TNetHTTPMethod::hmGet, url, nullptr, response);
}

std::string TNetCustomHTTP::Get(const std::string& url)
{
    TStringStream body;
    Get(url, &body);
    return body.DataString();
}

void TNetCustomHTTP::Head(const std::string& url) { DoRequest(TNetHTTPMethod::hmHead, url, nullptr, nullptr); }

void TNetCustomHTTP::Put(const std::string& url, TStream& source, TStream* response)
{
    DoRequest(TNetHTTPMethod::hmPut, url, &source, response);
}

void TNetCustomHTTP::Options(const std::string& url, TStream* response)
{
    DoRequest(TNetHTTPMethod::hmOptions, url, nullptr, response);
}

void TNetCustomHTTP::Trace(const std::string& url, TStream* response)
{
    DoRequest(TNetHTTPMethod::hmTrace, url, nullptr, response);
}

void TNetCustomHTTP::Post(const std::string& url, TStream& source, TStream* response)
{
    if (IsConnected())
        CloseConnection();
    const TScopeExit restore([this, saved = ProtocolVersion] { ProtocolVersion = saved; });
    if (!HTTPOptions.Contains(TNetHTTPOption::hoKeepOrigProtocol))
        ProtocolVersion = TNetHTTPProtocolVersion::pv1_0;
    DoRequest(TNetHTTPMethod::hmPost, url, &source, response);
}

void TNetCustomHTTP::DoRequest(TNetHTTPMethod method, const std::string& url, TStream* source, TStream* response)
{
    const int64_t start = response ? response->Position() : 0;
    FAuthAttempts = 0;
    FProxyAuthAttempts = 0;
    FRequest.Target = url;
    FRequest.RequestMethod = method;
    FRequest.BodySource = source;
    FResponse.BodyStream = response;
    try {
        for (bool more = true; more;) {
            ++FRedirectCount;
            PrepareRequest();
            ConnectAndSend();
            ReadAnswer();
            switch (DecideNextStep()) {
            case TNetNextStep::nsFollow:
                if (response) {
                    response->SetPosition(start);
                    response->SetSize(start);
                }
                FAuthAttempts = 0;
                FProxyAuthAttempts = 0;
                break;
            case TNetNextStep::nsRetryAuth:
                --FRedirectCount;
                FRequest.Target = url;
                break;
            case TNetNextStep::nsDone:
                more = false;
                break;
            case TNetNextStep::nsUnknown:
                throw ENetException(SNetUndefinedSituation);
            }
        }
    } catch (...) {
        if (!FResponse.ReuseConnection())
            CloseConnection();
        FRedirectCount = 0;
        throw;
    }
    if (!FResponse.ReuseConnection())
        CloseConnection();
    FRedirectCount = 0;
}

void TNetCustomHTTP::PrepareRequest()
{
    TNetURI parsed(FRequest.Target);
    if (!parsed.Username.empty()) {
        FRequest.Username = parsed.Username;
        FRequest.Password = parsed.Password;
    }
    FURI.Username = FRequest.Username;
    FURI.Password = FRequest.Password;
    FURI.Path = TNetURI::JoinPath(FURI.Path, parsed.Path, '/');
    FURI.Document = parsed.Document;
    FURI.Params = parsed.Params;
    if (!parsed.Host.empty()) {
        FURI.Host = parsed.Host;
        // An absolute URL without a port means its protocol's default port,
        // not the port of some earlier URL.
        FURI.Port = parsed.Port;
    }
    FURI.Protocol = parsed.Protocol.empty() ? std::string("http") : parsed.Protocol;
    if (!parsed.Port.empty()) {
        FURI.Port = parsed.Port;
    } else {
        const int current = StrToIntDef(FURI.Port, 0);
        if (current == 0 || current == 80 || current == 443) {
            if (SameText(FURI.Protocol, "http"))
                FURI.Port = "80";
            else if (SameText(FURI.Protocol, "https"))
                FURI.Port = "443";
            else
                throw ENetUnknownProtocol("");
        }
    }

    FRequest.Target = FURI.Path + FURI.Document + FURI.Params;
    const TNetHTTPMethod m = FRequest.RequestMethod;
    if (m == TNetHTTPMethod::hmOptions && FURI.Document == "*")
        FRequest.Target.assign(1, '*');
    const bool needs11 = m == TNetHTTPMethod::hmOptions || m == TNetHTTPMethod::hmTrace ||
                         m == TNetHTTPMethod::hmPut || m == TNetHTTPMethod::hmDelete;
    if (needs11 && ProtocolVersion != TNetHTTPProtocolVersion::pv1_1)
        throw ENetException(SNetMethodRequiresHTTP11);
    const bool hasBody = m == TNetHTTPMethod::hmPost || m == TNetHTTPMethod::hmPut;
    FRequest.SetContentLength(hasBody && FRequest.BodySource ? static_cast<int>(FRequest.BodySource->Size()) : -1);
    FRequest.Host = FURI.Host + (FURI.Port != "80" ? ":" + FURI.Port : std::string());
}

void TNetCustomHTTP::SelectRoute()
{
    const bool secure = SameText(FURI.Protocol, "https");
    std::string host = FURI.Host;
    int port = StrToIntDef(FURI.Port, 0);
    if (!FProxyParams.ProxyServer().empty()) {
        host = FProxyParams.ProxyServer();
        port = FProxyParams.ProxyPort();
    }
    if (!SameText(Host(), host) || Port() != port) {
        if (IsConnected())
            CloseConnection();
        SetHost(host);
        SetPort(port);
    }
    // No secure-socket handler exists in this client.
    if (secure)
        throw ENetIOHandlerPropInvalid(SNetIOHandlerPropInvalid);
    FRequest.Route = FProxyParams.ProxyServer().empty() ? TNetRouteKind::rkDirect : TNetRouteKind::rkProxy;
}

void TNetCustomHTTP::ConnectAndSend()
{
    SelectRoute();
    const bool version10 = ProtocolVersion == TNetHTTPProtocolVersion::pv1_0;
    if (FRequest.Route == TNetRouteKind::rkProxy) {
        FRequest.Target = FURI.UriText();
        if (version10 && FRequest.Connection.empty())
            FRequest.ProxyConnection = "keep-alive";
    } else if (version10 && FRequest.Connection.empty()) {
        FRequest.Connection = "keep-alive";
    }
    if (!FResponse.ReuseConnection())
        CloseConnection();
    // The peer-closed check as a poll that does not wait: a kept connection
    // with nothing pending must not cost a millisecond per request.
    FillInputQueue(false, 0, false);
    if (!IsConnected())
        OpenConnection(ReadTimeout);
    SendHead();
    const TNetHTTPMethod m = FRequest.RequestMethod;
    if ((m == TNetHTTPMethod::hmPost || m == TNetHTTPMethod::hmPut) && FRequest.BodySource) {
        FRequest.BodySource->SetPosition(0);
        WriteFromStream(*FRequest.BodySource, true, false, 0);
    }
}

void TNetCustomHTTP::SendHead()
{
    FRequest.WriteToLines();
    TNetHeaderList& lines = FRequest.HeaderLines();
    FProxyParams.SetHeaders(lines);
    if (FCookieManager) {
        const std::string cookies = FCookieManager->CookieHeaderFor(FURI, false);
        if (!cookies.empty())
            lines.PutValue("Cookie", cookies);
    }
    BeginBufferedWrites(-1);
    try {
        WriteLine(MethodVerb(FRequest.RequestMethod) + FRequest.Target + " HTTP/" +
                  ProtocolVersionText(ProtocolVersion));
        for (const std::string& line : lines.Lines())
            if (!line.empty())
                WriteLine(line);
        WriteLine("");
    } catch (...) {
        DiscardBufferedWrites();
        throw;
    }
    EndBufferedWrites();
}

void TNetCustomHTTP::ReadAnswer()
{
    FHeadBytes = 0;
    FHeadLines = 0;
    do {
        FResponse.StatusLine = ReadLine(LF, -1, -1);
        CountHeadLine(FResponse.StatusLine);
        ReadHeaderLines();
        ProcessCookies();
    } while (FResponse.StatusCode() == 100);
}

void TNetCustomHTTP::ReadHeaderLines()
{
    TNetHeaderList& lines = FResponse.HeaderLines();
    lines.Clear();
    try {
        for (std::string line = ReadLine(LF, -1, -1); !line.empty(); line = ReadLine(LF, -1, -1)) {
            CountHeadLine(line);
            lines.Add(std::move(line));
        }
    } catch (const ENetConnClosedGracefully&) {
        CloseConnection();
    }
    FResponse.ReadFromLines();
}

void TNetCustomHTTP::CountHeadLine(const std::string& line)
{
    FHeadBytes += static_cast<int64_t>(line.size()) + 1;
    if (++FHeadLines > MaxHeadLines || FHeadBytes > MaxHeadBytes)
        RaiseTooLarge(SNetResponseHeadTooLarge);
}

void TNetCustomHTTP::RaiseTooLarge(const char* message)
{
    // The rest of the answer is not read: the connection cannot carry another.
    CloseConnection();
    throw ENetHTTPResponseTooLarge(message);
}

void TNetCustomHTTP::ProcessCookies()
{
    if (!FCookieManager && AllowCookies) {
        FOwnCookieManager = std::make_unique<TNetCookieManager>(nullptr);
        FCookieManager = FOwnCookieManager.get();
    }
    if (!FCookieManager)
        return;
    TStrings values;
    FResponse.HeaderLines().ExtractValues("Set-cookie", &values);
    for (const std::string& value : values.Lines())
        FCookieManager->AddSetCookie(value, FURI.Host);
    values.Clear();
    FResponse.HeaderLines().ExtractValues("Set-cookie2", &values);
    for (const std::string& value : values.Lines())
        FCookieManager->AddSetCookie2(value, FURI.Host);
}

} // namespace orbelin
