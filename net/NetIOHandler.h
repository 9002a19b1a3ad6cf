#pragma once
// The transport a TCP connection talks to: open, connect, wait, receive,
// send, close. The base does nothing; TNetIOHandlerSocket is the real one.

#include "net/NetComponent.h"

#include <string>

namespace orbelin {

class TNetIOHandler : public TNetComponent {
public:
    using TNetComponent::TNetComponent;

    virtual void AcceptDone() {}
    virtual void CloseLink() {}
    virtual void ConnectLink(const std::string& host, int port, const std::string& boundIP, int boundPort,
                             int boundPortMin, int boundPortMax, int timeout);
    virtual bool LinkConnected() { return false; }
    virtual void OpenLink() {}
    virtual bool WaitReadable(int ms);
    // Raw counts: 0 = peer closed, -1 = error (the caller asks the stack).
    virtual int ReceiveBytes(void* buffer, int length);
    virtual int SendBytes(const void* buffer, int length);
};

} // namespace orbelin
