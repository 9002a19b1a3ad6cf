#include "net/NetIntercept.h"

#include "base/Streams.h"

namespace orbelin {

void TNetConnectionIntercept::SetIntercept(TNetConnectionIntercept* nested) { Refer(FIntercept, nested); }

void TNetConnectionIntercept::Notification(TComponent* component, TOperation operation)
{
    TNetBaseComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FIntercept)
        FIntercept = nullptr;
}

void TNetConnectionIntercept::InterceptConnect(TNetTCPConnection* connection)
{
    FConnection = connection;
    if (OnConnect)
        OnConnect(this);
    if (FIntercept)
        FIntercept->InterceptConnect(connection);
}

void TNetConnectionIntercept::InterceptDisconnect()
{
    if (FIntercept)
        FIntercept->InterceptDisconnect();
    if (OnDisconnect)
        OnDisconnect(this);
    FConnection = nullptr;
}

void TNetConnectionIntercept::InterceptReceive(TStream& stream)
{
    if (FIntercept)
        FIntercept->InterceptReceive(stream);
    if (OnReceive) {
        OnReceive(this, stream);
        stream.SetPosition(0);
    }
}

void TNetConnectionIntercept::InterceptSend(TStream& stream)
{
    if (OnSend) {
        OnSend(this, stream);
        stream.SetPosition(0);
    }
    if (FIntercept)
        FIntercept->InterceptSend(stream);
}

} // namespace orbelin
