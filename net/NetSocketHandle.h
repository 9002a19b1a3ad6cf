#pragma once
// One OS socket with its local and remote address, the bind logic (fixed
// port or a port range) and the readability wait.

#include "base/Component.h"
#include "net/NetStack.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orbelin {

class TNetSocketHandle : public TObject {
public:
    TNetSocketHandle() = default;
    ~TNetSocketHandle() override;

    TNetSocketId SocketId() const noexcept { return FSocketId.load(); }
    bool IsAllocated() const noexcept { return FIsAllocated.load(); }

    std::string IP;          // local address, empty = any
    int Port = 0;            // local port, 0 = any
    std::string RemoteIP;
    int RemotePort = 0;
    int ClientPortMin = 0;
    int ClientPortMax = 0;

    void AllocateHandle(int type = kSockStream, int protocol = 0);
    // Marks the handle free before shutting the socket down and closing it,
    // so a concurrent wait or connect sees it closed at once.
    void ReleaseHandle();
    void BindLocal();
    bool TryBindOnce();
    bool BindInPortRange();
    int ConnectPeer(int family = kAfInet);
    bool AcceptFrom(TNetSocketId listening);
    // On the idle hook's thread both waits take the thread's messages as
    // they come: readable, or (sending) room in the send buffer.
    bool WaitReadable(int ms);
    int ReceiveInto(void* buffer, int length, int flags = 0);
    int SendFrom(const void* buffer, int length, int flags = 0);
    void SetOption(int level, int option, const void* value, int length);
    void SetPeerAddress(const std::string& ip, int port);
    void ClearBinding(bool resetLocal);
    void Assign(const TNetSocketHandle& source);
    void RefreshLocalAddress();
    void RefreshPeerAddress();

private:
    bool SelectReadable(int ms);
    // The hook's wait until ready() holds, woken by the socket's events;
    // nothing when the platform cannot watch the socket.
    std::optional<bool> WaitWatched(int events, int ms, const std::function<bool()>& ready);

    std::unique_ptr<TNetSignal> FSignal;
    std::atomic<TNetSocketId> FSocketId{kInvalidSocket};
    std::atomic<bool> FIsAllocated{false};
};

} // namespace orbelin
