#include "net/NetTCPClient.h"

#include "base/AnsiText.h"
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

bool TNetTCPClient::SetProperty(std::string_view name, const TPropertyValue& value)
{
    if (SameText(name, "Host"))
        SetHost(value.AsString());
    else if (SameText(name, "Port"))
        SetPort(static_cast<int>(value.AsInteger()));
    else if (SameText(name, "BoundIP"))
        BoundIP = value.AsString();
    else if (SameText(name, "BoundPort"))
        BoundPort = static_cast<int>(value.AsInteger());
    else if (SameText(name, "BoundPortLow"))
        BoundPortLow = static_cast<int>(value.AsInteger());
    else if (SameText(name, "BoundPortHigh"))
        BoundPortHigh = static_cast<int>(value.AsInteger());
    else
        return TNetTCPConnection::SetProperty(name, value);
    return true;
}

bool TNetTCPClient::SetEvent(std::string_view name, TNotifyEvent handler)
{
    if (SameText(name, "OnConnected")) {
        OnConnected = std::move(handler);
        return true;
    }
    return TNetTCPConnection::SetEvent(name, handler);
}

} // namespace orbelin
