#include "tools/nethttp/NetHTTPCommand.h"

#include "base/AnsiText.h"
#include "base/Streams.h"
#include "http/NetHTTP.h"
#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"

#include <ostream>
#include <stdexcept>

namespace orbelin {

const char* const kUsage =
    "usage: nethttp get URL... [-o FILE] [options]\n"
    "       nethttp post URL --data-file FILE [--content-type TYPE] [-o FILE] [options]\n"
    "options: --follow  --max-redirects N  --http1.0  --timeout MS\n"
    "         --user NAME  --password TEXT  --proxy HOST:PORT  --socks5 HOST:PORT  -v\n";

namespace {

// Writes what it receives to a standard stream.
class TOStreamStream : public TStream {
public:
    explicit TOStreamStream(std::ostream& out) : FOut(out) {}
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void* buffer, int64_t count) override
    {
        FOut.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(count));
        FPosition += count;
        return FOut ? count : 0;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        // Only the current position can be asked for; nothing is rewritten.
        if (!(origin == TSeekOrigin::soCurrent && offset == 0) && !(origin == TSeekOrigin::soBeginning && offset == FPosition))
            throw EStreamError("Standard output cannot seek");
        return FPosition;
    }
    void SetSize(int64_t size) override
    {
        if (size != FPosition)
            throw EStreamError("Standard output cannot change its size");
    }
    int64_t Size() override { return FPosition; }

private:
    std::ostream& FOut;
    int64_t FPosition = 0;
};

int IntArgument(const std::string& option, const std::string& text)
{
    int64_t v = 0;
    if (!TryStrToInt64(text, v) || v < 0 || v > 1000000000)
        throw std::invalid_argument(option + " needs a number, not '" + text + "'");
    return static_cast<int>(v);
}

void SplitHostPort(const std::string& option, const std::string& text, std::string& host, int& port)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        throw std::invalid_argument(option + " needs HOST:PORT, not '" + text + "'");
    host = text.substr(0, colon);
    port = IntArgument(option, text.substr(colon + 1));
}

void PrintHead(std::ostream& err, const char* mark, const std::string& first, const TNetHeaderList& lines)
{
    if (first.empty())
        return;
    err << mark << first << "\n";
    for (const std::string& line : lines.Lines())
        if (!line.empty())
            err << mark << line << "\n";
    err << mark << "\n";
}

// The request head as it was sent and the response head as received.
void PrintExchange(std::ostream& err, TNetHTTP& http, bool post)
{
    TNetHTTPRequest& r = http.Request();
    // A POST went out as 1.0 unless the client keeps its version.
    const bool as10 = post && !http.HTTPOptions.Contains(TNetHTTPOption::hoKeepOrigProtocol);
    const char* version = as10 ? "1.0" : ProtocolVersionText(http.ProtocolVersion);
    if (!r.Target.empty())
        PrintHead(err, "> ", MethodVerb(r.RequestMethod) + r.Target + " HTTP/" + version, r.HeaderLines());
    PrintHead(err, "< ", http.Response().StatusLine, http.Response().HeaderLines());
}

void Configure(TNetHTTP& http, const TNetHTTPCommand& c)
{
    http.HandleRedirects = c.Follow;
    http.RedirectMaximum = c.MaxRedirects;
    http.ReadTimeout = c.TimeoutMs;
    if (c.Http10)
        http.ProtocolVersion = TNetHTTPProtocolVersion::pv1_0;
    if (!c.User.empty() || !c.Password.empty()) {
        http.Request().BasicAuthentication = true;
        http.Request().Username = c.User;
        http.Request().Password = c.Password;
    }
    if (!c.Proxy.empty()) {
        std::string host;
        int port = 0;
        SplitHostPort("--proxy", c.Proxy, host, port);
        http.ProxyParams().SetProxyServer(host);
        http.ProxyParams().SetProxyPort(port);
    }
}

bool EndedOnRedirect(const TNetHTTPResponse& response)
{
    const int code = response.StatusCode();
    return (code >= 300 && code <= 399 && code != 304) || !response.Location.empty();
}

// Failures of the link itself: the socket, the connect thread, a SOCKS
// server, a peer that closed, and a connection gone before the body.
bool IsNetworkFailure(const ENetException& e)
{
    return dynamic_cast<const ENetSocketError*>(&e) || dynamic_cast<const ENetConnectException*>(&e) ||
           dynamic_cast<const ENetSocksError*>(&e) || dynamic_cast<const ENetConnClosedGracefully*>(&e) ||
           dynamic_cast<const ENetNotConnected*>(&e) || e.Message() == SNetUndefinedSituation;
}

int Fail(std::ostream& err, int status, const std::string& message)
{
    err << "nethttp: " << message << "\n";
    return status;
}

} // namespace

TNetHTTPCommand ParseCommandLine(const std::vector<std::string>& args)
{
    TNetHTTPCommand c;
    if (args.empty())
        throw std::invalid_argument("no command given");
    c.Verb = args[0];
    if (c.Verb != "get" && c.Verb != "post")
        throw std::invalid_argument("unknown command '" + c.Verb + "'");
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(a + " needs a value");
            return args[++i];
        };
        if (a == "-o")
            c.OutputFile = value();
        else if (a == "--data-file")
            c.DataFile = value();
        else if (a == "--content-type")
            c.ContentType = value();
        else if (a == "--follow")
            c.Follow = true;
        else if (a == "--max-redirects")
            c.MaxRedirects = IntArgument(a, value());
        else if (a == "--http1.0")
            c.Http10 = true;
        else if (a == "--timeout")
            c.TimeoutMs = IntArgument(a, value());
        else if (a == "--user")
            c.User = value();
        else if (a == "--password")
            c.Password = value();
        else if (a == "--proxy")
            c.Proxy = value();
        else if (a == "--socks5")
            c.Socks5 = value();
        else if (a == "-v")
            c.Verbose = true;
        else if (!a.empty() && a[0] == '-')
            throw std::invalid_argument("unknown option '" + a + "'");
        else
            c.Urls.push_back(a);
    }
    if (c.Urls.empty())
        throw std::invalid_argument("no URL given");
    if (c.Verb == "post" && (c.Urls.size() != 1 || c.DataFile.empty()))
        throw std::invalid_argument("post takes one URL and --data-file FILE");
    return c;
}

int RunCommand(const TNetHTTPCommand& c, std::ostream& out, std::ostream& err)
{
    try {
        TNetHTTP http(nullptr);
        Configure(http, c);
        if (!c.Socks5.empty()) {
            auto* handler = new TNetIOHandlerSocket(&http); // owned by the client component
            SplitHostPort("--socks5", c.Socks5, handler->SocksInfo().Host, handler->SocksInfo().Port);
            handler->SocksInfo().Version = TSocksVersion::svSocks5;
            http.SetIOHandler(handler);
        }
        std::unique_ptr<TStream> file;
        if (!c.OutputFile.empty())
            file = std::make_unique<TFileStream>(c.OutputFile, TFileMode::fmCreate);
        TOStreamStream console(out);
        TStream& body = file ? *file : static_cast<TStream&>(console);

        for (const std::string& url : c.Urls) {
            try {
                if (c.Verb == "post") {
                    TMemoryStream data;
                    data.LoadFromFile(c.DataFile);
                    if (!c.ContentType.empty())
                        http.Request().ContentType = c.ContentType;
                    http.Post(url, data, &body);
                } else {
                    http.Get(url, &body);
                }
            } catch (...) {
                if (c.Verbose)
                    PrintExchange(err, http, c.Verb == "post");
                throw;
            }
            if (c.Verbose)
                PrintExchange(err, http, c.Verb == "post");
            // The exchange ended on a redirect it did not follow (the maximum
            // was reached): any status with a Location, or a 3xx.
            if (EndedOnRedirect(http.Response()))
                return Fail(err, kExitProtocol, http.Response().StatusLine + " (redirect not followed)");
        }
        out.flush();
        return kExitOk;
    } catch (const ENetHTTPProtocolException& e) {
        err << e.Message() << "\n";
        return kExitProtocol;
    } catch (const ENetReadTimeout& e) {
        return Fail(err, kExitTimeout, e.Message());
    } catch (const ENetConnectTimeout& e) {
        return Fail(err, kExitTimeout, e.Message());
    } catch (const ENetException& e) {
        return Fail(err, IsNetworkFailure(e) ? kExitSocket : kExitOther, e.Message());
    } catch (const Exception& e) {
        return Fail(err, kExitOther, e.Message());
    } catch (const std::exception& e) {
        return Fail(err, kExitOther, e.what());
    }
}

} // namespace orbelin
