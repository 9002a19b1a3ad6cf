#include "net/NetSocketHandle.h"

#include "base/Format.h"
#include "net/NetAntiFreeze.h"
#include "net/NetException.h"

namespace orbelin {

namespace {

TNetStack& Stack() { return *GlobalStack(); }

} // namespace

TNetSocketHandle::~TNetSocketHandle()
{
    try {
        ReleaseHandle();
    } catch (...) {
        // A failing close in a destructor has nobody to tell.
    }
}

void TNetSocketHandle::AllocateHandle(int type, int protocol)
{
    ReleaseHandle();
    FSocketId = Stack().NewSocketHandle(type, protocol);
    FIsAllocated = true;
}

void TNetSocketHandle::ReleaseHandle()
{
    if (!FIsAllocated.exchange(false))
        return;
    const TNetSocketId socket = FSocketId.load();
    Stack().SockShutdown(socket, kShutdownSend);
    Stack().SockClose(socket);
}

void TNetSocketHandle::BindLocal()
{
    if (Port != 0 || ClientPortMin == 0 || ClientPortMax == 0) {
        if (!TryBindOnce())
            throw ENetCouldNotBindSocket(SNetCouldNotBindSocket);
        return;
    }
    if (ClientPortMax < ClientPortMin)
        throw ENetInvalidPortRange(Format(SNetInvalidPortRange, ClientPortMin, ClientPortMax));
    if (!BindInPortRange())
        throw ENetCanNotBindPortInRange(Format(SNetCanNotBindRange, ClientPortMin, ClientPortMax));
}

bool TNetSocketHandle::TryBindOnce()
{
    if (Stack().CheckSocketResult(Stack().SockBind(SocketId(), kAfInet, IP, Port), {WSAEADDRINUSE_}))
        return false;
    RefreshLocalAddress();
    return true;
}

bool TNetSocketHandle::BindInPortRange()
{
    for (int port = ClientPortMax; port >= ClientPortMin; --port) {
        Port = port;
        if (TryBindOnce())
            return true;
    }
    return false;
}

int TNetSocketHandle::ConnectPeer(int family)
{
    const int result = Stack().SockConnect(SocketId(), family, RemoteIP, RemotePort);
    if (result != kSocketError) {
        RefreshLocalAddress();
        RefreshPeerAddress();
    }
    return result;
}

bool TNetSocketHandle::AcceptFrom(TNetSocketId listening)
{
    ClearBinding(true);
    const TNetSocketId socket = Stack().SockAccept(listening, IP, Port);
    if (Stack().CheckSocketResult(static_cast<int>(socket == kInvalidSocket ? kSocketError : 0),
                                  {WSAEINTR_, WSAENOTSOCK_}))
        return false;
    FSocketId = socket;
    FIsAllocated = true;
    RefreshLocalAddress();
    RefreshPeerAddress();
    return true;
}

bool TNetSocketHandle::WaitReadable(int ms)
{
    if (!IsAllocated())
        throw ENetConnClosedGracefully(SNetConnClosedGracefully);
    if (TNetAntiFreezeBase::ShouldUseHook()) {
        const int idle = GlobalAntiFreeze()->IdleTimeOut;
        if (ms == kTimeoutInfinite) {
            while (!WaitReadable(idle)) {
            }
            return true;
        }
        if (ms > idle) {
            if (WaitReadable(ms - idle))
                return true;
            ms = idle;
        }
    }
    TNetSocketList list;
    list.Add(SocketId());
    const bool ready = Stack().SockSelect(&list, nullptr, nullptr, ms) == 1;
    TNetAntiFreezeBase::RunHook(!ready, false);
    return ready;
}

int TNetSocketHandle::ReceiveInto(void* buffer, int length, int flags)
{
    return Stack().SockRecv(SocketId(), buffer, length, flags);
}

int TNetSocketHandle::SendFrom(const void* buffer, int length, int flags)
{
    return Stack().SockSend(SocketId(), buffer, length, flags);
}

void TNetSocketHandle::SetOption(int level, int option, const void* value, int length)
{
    Stack().CheckSocketResult(Stack().SockSetOption(SocketId(), level, option, value, length));
}

void TNetSocketHandle::SetPeerAddress(const std::string& ip, int port)
{
    RemoteIP = ip;
    RemotePort = port;
}

void TNetSocketHandle::ClearBinding(bool resetLocal)
{
    FIsAllocated = false;
    FSocketId = kInvalidSocket;
    if (resetLocal) {
        IP.clear();
        Port = 0;
    }
    RemoteIP.clear();
    RemotePort = 0;
}

void TNetSocketHandle::Assign(const TNetSocketHandle& source)
{
    IP = source.IP;
    Port = source.Port;
    RemoteIP = source.RemoteIP;
    RemotePort = source.RemotePort;
}

void TNetSocketHandle::RefreshLocalAddress()
{
    int family = kAfInet;
    Stack().SockLocalName(SocketId(), family, IP, Port);
}

void TNetSocketHandle::RefreshPeerAddress()
{
    int family = kAfInet;
    Stack().SockPeerName(SocketId(), family, RemoteIP, RemotePort);
}

} // namespace orbelin
