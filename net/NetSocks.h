#pragma once
// SOCKS 4, 4A and 5 settings and the negotiation run after the TCP connect
// to the SOCKS server.

#include "net/NetComponent.h"

#include <string>

namespace orbelin {

class TNetIOHandler;

enum class TSocksVersion { svNoSocks, svSocks4, svSocks4A, svSocks5 };
enum class TSocksAuthentication { saNoAuthentication, saUsernamePassword };

class TNetSocksInfo : public TComponent {
public:
    using TComponent::TComponent;

    TSocksVersion Version = TSocksVersion::svNoSocks;
    TSocksAuthentication Authentication = TSocksAuthentication::saNoAuthentication;
    std::string Host;
    int Port = 1080;
    std::string Username;
    std::string Password;

    // Asks the SOCKS server, reached through handler, to connect to host:port.
    // Does nothing with svNoSocks.
    void MakeSocksConnection(TNetIOHandler& handler, const std::string& host, int port) const;

    const TPropertyTable<TComponent>& Properties() const override;

private:
    void MakeSocks4Connection(TNetIOHandler& handler, const std::string& host, int port) const;
    void MakeSocks5Connection(TNetIOHandler& handler, const std::string& host, int port) const;
};

} // namespace orbelin
