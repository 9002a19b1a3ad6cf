#pragma once
// A connection intercept sees every block received and sent and may change
// it; intercepts nest.

#include "net/NetComponent.h"

#include <functional>

namespace orbelin {

class TStream;
class TNetTCPConnection;

class TNetConnectionIntercept : public TNetBaseComponent {
public:
    using TStreamEvent = std::function<void(TNetConnectionIntercept* sender, TStream& stream)>;
    using TInterceptEvent = std::function<void(TNetConnectionIntercept* sender)>;

    using TNetBaseComponent::TNetBaseComponent;

    TInterceptEvent OnConnect;
    TInterceptEvent OnDisconnect;
    TStreamEvent OnReceive;
    TStreamEvent OnSend;

    TNetConnectionIntercept* Intercept() const { return FIntercept; }
    void SetIntercept(TNetConnectionIntercept* nested);
    TNetTCPConnection* Connection() const { return FConnection; }

    virtual void InterceptConnect(TNetTCPConnection* connection);
    virtual void InterceptDisconnect();
    virtual void InterceptReceive(TStream& stream);
    virtual void InterceptSend(TStream& stream);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TNetConnectionIntercept* FIntercept = nullptr;
    TNetTCPConnection* FConnection = nullptr;
};

} // namespace orbelin
