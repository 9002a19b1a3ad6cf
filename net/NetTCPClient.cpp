#include "net/NetTCPClient.h"

#include "base/PropertyTable.h"
#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"
#include "net/NetIntercept.h"

namespace orbelin {

void TNetTCPClient::SetHost(const std::string& host) { FHost = host; }

void TNetTCPClient::SetPort(int port) { FPort = port; }

void TNetTCPClient::FireConnected()
{
    if (OnConnected)
        OnConnected(this);
}

void TNetTCPClient::OpenConnection(int timeout)
{
    if (!IOHandler()) {
        auto* handler = new TNetIOHandlerSocket(nullptr); // owned by this connection
        handler->OnStatus = OnStatus;
        AdoptIOHandler(handler);
    } else if (IOHandler()->LinkConnected()) {
        throw ENetAlreadyConnected(SNetAlreadyConnected);
    }
    try {
        IOHandler()->OpenLink();
        ClearForConnect();
        IOHandler()->ConnectLink(FHost, FPort, BoundIP, BoundPort, BoundPortLow, BoundPortHigh, timeout);
        if (Intercept())
            Intercept()->InterceptConnect(this);
        ReportStatus(TNetStatus::hsConnected, FHost);
        FireConnected();
    } catch (...) {
        DropLink();
        throw;
    }
}

std::string TNetTCPClient::FetchAll()
{
    OpenConnection(-1);
    std::string text;
    try {
        text = ReadAll();
    } catch (...) {
        CloseConnection();
        throw;
    }
    CloseConnection();
    return text;
}

const TPropertyTable<TComponent>& TNetTCPClient::Properties() const
{
    static const TPropertyTable<TComponent> table(TNetTCPConnection::Properties(), {
        Setter("Host", &TNetTCPClient::SetHost),
        Setter("Port", &TNetTCPClient::SetPort),
        Field("BoundIP", &TNetTCPClient::BoundIP),
        Field("BoundPort", &TNetTCPClient::BoundPort),
        Field("BoundPortLow", &TNetTCPClient::BoundPortLow),
        Field("BoundPortHigh", &TNetTCPClient::BoundPortHigh),
        Event("OnConnected", &TNetTCPClient::OnConnected),
    });
    return table;
}

} // namespace orbelin
