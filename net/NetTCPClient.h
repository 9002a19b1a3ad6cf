#pragma once
// The client side of a TCP connection: target host and port, an optional
// local binding, and OpenConnection.

#include "net/NetTCPConnection.h"

#include <string>

namespace orbelin {

class TNetTCPClient : public TNetTCPConnection {
public:
    using TNetTCPConnection::TNetTCPConnection;

    const std::string& Host() const { return FHost; }
    int Port() const { return FPort; }
    std::string BoundIP;
    int BoundPort = 0;
    int BoundPortLow = 0;   // 0 = no range
    int BoundPortHigh = 0;
    TNotifyEvent OnConnected;

    virtual void SetHost(const std::string& host);
    virtual void SetPort(int port);
    virtual void FireConnected();
    // Creates its own socket handler when none is assigned; drops the link on
    // any failure. Raises "Already connected." on a connected handler.
    virtual void OpenConnection(int timeout = -1);
    virtual std::string FetchAll();

    const TPropertyTable<TComponent>& Properties() const override;

private:
    std::string FHost;
    int FPort = 0;
};

} // namespace orbelin
