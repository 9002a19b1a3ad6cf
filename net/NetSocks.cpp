#include "net/NetSocks.h"

#include "base/PropertyTable.h"
#include "net/NetException.h"
#include "net/NetIOHandler.h"
#include "net/NetStack.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace orbelin {

namespace {

using TBytes = std::vector<uint8_t>;

void SendAll(TNetIOHandler& handler, const TBytes& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = handler.SendBytes(bytes.data() + sent, static_cast<int>(bytes.size() - sent));
        if (n == 0)
            throw ENetConnClosedGracefully(SNetConnClosedGracefully);
        GlobalStack()->CheckSocketResult(n);
        sent += static_cast<size_t>(n);
    }
}

// Receives exactly count bytes; a closed link or a failure raises.
TBytes ReceiveExact(TNetIOHandler& handler, size_t count)
{
    TBytes bytes(count);
    size_t got = 0;
    while (got < count) {
        const int n = handler.ReceiveBytes(bytes.data() + got, static_cast<int>(count - got));
        if (n == 0)
            throw ENetConnClosedGracefully(SNetConnClosedGracefully);
        GlobalStack()->CheckSocketResult(n);
        got += static_cast<size_t>(n);
    }
    return bytes;
}

// Every receive failure during SOCKS 5 reads as a silent server.
TBytes ReceiveSocks5(TNetIOHandler& handler, size_t count)
{
    try {
        return ReceiveExact(handler, count);
    } catch (const ENetException&) {
        throw ENetSocksServerRespondError(SNetSocksServerRespondError);
    }
}

void AppendText(TBytes& bytes, const std::string& text, size_t limit)
{
    const size_t n = std::min(text.size(), limit);
    bytes.insert(bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

void AppendPort(TBytes& bytes, int port)
{
    bytes.push_back(static_cast<uint8_t>((port >> 8) & 0xFF));
    bytes.push_back(static_cast<uint8_t>(port & 0xFF));
}

[[noreturn]] void RaiseSocks4Reply(uint8_t code)
{
    switch (code) {
    case 91: throw ENetSocksRequestFailed(SNetSocksRequestFailed);
    case 92: throw ENetSocksRequestServerFailed(SNetSocksRequestServerFailed);
    case 93: throw ENetSocksRequestIdentFailed(SNetSocksRequestIdentFailed);
    default: throw ENetSocksUnknownError(SNetSocksUnknownError);
    }
}

[[noreturn]] void RaiseSocks5Reply(uint8_t code)
{
    switch (code) {
    case 1: throw ENetSocksServerGeneralError(SNetSocksServerGeneralError);
    case 2: throw ENetSocksServerPermissionError(SNetSocksServerPermissionError);
    case 3: throw ENetSocksServerNetUnreachableError(SNetSocksServerNetUnreachableError);
    case 4: throw ENetSocksServerHostUnreachableError(SNetSocksServerHostUnreachableError);
    case 5: throw ENetSocksServerConnectionRefusedError(SNetSocksServerConnectionRefusedError);
    case 6: throw ENetSocksServerTTLExpiredError(SNetSocksServerTTLExpiredError);
    case 7: throw ENetSocksServerCommandError(SNetSocksServerCommandError);
    case 8: throw ENetSocksServerAddressError(SNetSocksServerAddressError);
    default: throw ENetSocksUnknownError(SNetSocksUnknownError);
    }
}

} // namespace

void TNetSocksInfo::MakeSocksConnection(TNetIOHandler& handler, const std::string& host, int port) const
{
    switch (Version) {
    case TSocksVersion::svNoSocks: return;
    case TSocksVersion::svSocks4:
    case TSocksVersion::svSocks4A: MakeSocks4Connection(handler, host, port); return;
    case TSocksVersion::svSocks5: MakeSocks5Connection(handler, host, port); return;
    }
}

void TNetSocksInfo::MakeSocks4Connection(TNetIOHandler& handler, const std::string& host, int port) const
{
    TBytes request{4, 1};
    AppendPort(request, port);
    if (Version == TSocksVersion::svSocks4A) {
        request.insert(request.end(), {0, 0, 0, 1});
    } else {
        const std::array<uint8_t, 4> address = GlobalStack()->TextToAddress(GlobalStack()->ResolveHostToIP(host));
        request.insert(request.end(), address.begin(), address.end());
    }
    AppendText(request, Username, 255);
    request.push_back(0);
    if (Version == TSocksVersion::svSocks4A) {
        AppendText(request, host, host.size());
        request.push_back(0);
    }
    SendAll(handler, request);
    const TBytes reply = ReceiveExact(handler, 8);
    if (reply[1] != 90)
        RaiseSocks4Reply(reply[1]);
}

void TNetSocksInfo::MakeSocks5Connection(TNetIOHandler& handler, const std::string& host, int port) const
{
    const bool withPassword = Authentication == TSocksAuthentication::saUsernamePassword;
    const uint8_t method = withPassword ? 2 : 0;
    SendAll(handler, TBytes{5, 1, method});
    if (ReceiveSocks5(handler, 2)[1] != method)
        throw ENetSocksAuthMethodError(SNetSocksAuthMethodError);

    if (withPassword) {
        TBytes login{1, static_cast<uint8_t>(std::min<size_t>(Username.size(), 255))};
        AppendText(login, Username, 255);
        login.push_back(static_cast<uint8_t>(std::min<size_t>(Password.size(), 255)));
        AppendText(login, Password, 255);
        SendAll(handler, login);
        if (ReceiveSocks5(handler, 2)[1] != 0)
            throw ENetSocksAuthError(SNetSocksAuthError);
    }

    // The host always goes as a name; the server resolves it.
    TBytes request{5, 1, 0, 3, static_cast<uint8_t>(std::min<size_t>(host.size(), 255))};
    AppendText(request, host, 255);
    AppendPort(request, port);
    SendAll(handler, request);
    const TBytes reply = ReceiveSocks5(handler, 5);
    if (reply[1] != 0)
        RaiseSocks5Reply(reply[1]);
    size_t rest = 2;
    switch (reply[3]) {
    case 1: rest = 5; break;
    case 4: rest = 17; break;
    case 3: rest = static_cast<size_t>(reply[4]) + 2; break;
    default: break;
    }
    ReceiveSocks5(handler, rest);
}

namespace {

constexpr TEnumName<TSocksVersion> SocksVersionNames[] = {
    {"svNoSocks", TSocksVersion::svNoSocks},
    {"svSocks4", TSocksVersion::svSocks4},
    {"svSocks4A", TSocksVersion::svSocks4A},
    {"svSocks5", TSocksVersion::svSocks5},
};

constexpr TEnumName<TSocksAuthentication> SocksAuthenticationNames[] = {
    {"saNoAuthentication", TSocksAuthentication::saNoAuthentication},
    {"saUsernamePassword", TSocksAuthentication::saUsernamePassword},
};

} // namespace

const TPropertyTable<TComponent>& TNetSocksInfo::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        EnumField("Version", &TNetSocksInfo::Version, SocksVersionNames),
        EnumField("Authentication", &TNetSocksInfo::Authentication, SocksAuthenticationNames),
        Field("Host", &TNetSocksInfo::Host),
        Field("Port", &TNetSocksInfo::Port),
        Field("Username", &TNetSocksInfo::Username),
        Field("Password", &TNetSocksInfo::Password),
    });
    return table;
}

} // namespace orbelin
