#pragma once
// The socket I/O handler: one socket handle (its binding), connected directly
// or through a SOCKS server, optionally with a connect time-out.

#include "net/NetIOHandler.h"
#include "net/NetSocketHandle.h"
#include "net/NetSocks.h"

#include <memory>

namespace orbelin {

class TNetIOHandlerSocket : public TNetIOHandler {
public:
    using TNetIOHandler::TNetIOHandler;
    ~TNetIOHandlerSocket() override;

    bool UseNagle = true;

    TNetSocketHandle* SocketBinding() const { return FBinding.get(); }
    // Created on first use when none was assigned.
    TNetSocksInfo& SocksInfo();
    // Refers to a SOCKS component placed elsewhere (not owned); null = own one.
    void SetSocksInfo(TNetSocksInfo* info);

    void CloseLink() override;
    void ConnectLink(const std::string& host, int port, const std::string& boundIP, int boundPort,
                     int boundPortMin, int boundPortMax, int timeout) override;
    bool LinkConnected() override;
    void OpenLink() override;
    bool WaitReadable(int ms) override;
    int ReceiveBytes(void* buffer, int length) override;
    int SendBytes(const void* buffer, int length) override;

    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ConnectWithTimeout(int timeout);
    void CheckLink();

    std::unique_ptr<TNetSocketHandle> FBinding;
    TNetSocksInfo* FSocksInfo = nullptr;
    bool FOwnsSocksInfo = false;
};

} // namespace orbelin
