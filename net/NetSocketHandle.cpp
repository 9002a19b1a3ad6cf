#include "net/NetSocketHandle.h"

#include "base/Format.h"
#include "base/ScopeExit.h"
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
        // Waking for the socket or a message, whichever comes first; the
        // socket is watched only when it has nothing yet.
        std::optional<bool> ready = true;
        if (!SelectReadable(0))
            ready = WaitWatched(kWatchRead, ms, [this] { return !IsAllocated() || SelectReadable(0); });
        if (!IsAllocated())
            throw ENetConnClosedGracefully(SNetConnClosedGracefully);
        if (ready) {
            TNetAntiFreezeBase::RunHook(!*ready, false);
            return *ready;
        }
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
    const bool ready = SelectReadable(ms);
    TNetAntiFreezeBase::RunHook(!ready, false);
    return ready;
}

bool TNetSocketHandle::SelectReadable(int ms)
{
    TNetSocketList list;
    list.Add(SocketId());
    return Stack().SockSelect(&list, nullptr, nullptr, ms) == 1;
}

std::optional<bool> TNetSocketHandle::WaitWatched(int events, int ms, const std::function<bool()>& ready)
{
    if (!FSignal)
        FSignal = Stack().NewSignal();
    const TNetSocketId socket = SocketId();
    if (!FSignal || !Stack().SockWatch(socket, events, *FSignal))
        return std::nullopt;
    const TScopeExit unwatch([socket] { Stack().SockUnwatch(socket); });
    return TNetAntiFreezeBase::WaitUntil(*FSignal, ms, ready);
}

int TNetSocketHandle::ReceiveInto(void* buffer, int length, int flags)
{
    return Stack().SockRecv(SocketId(), buffer, length, flags);
}

int TNetSocketHandle::SendFrom(const void* buffer, int length, int flags)
{
    if (TNetAntiFreezeBase::ShouldUseHook()) {
        // The watched socket does not block: a full send buffer says so and
        // the wait for room takes the messages meanwhile.
        int sent = kSocketError;
        const auto sendSome = [&] {
            sent = Stack().SockSend(SocketId(), buffer, length, flags);
            return sent != kSocketError || Stack().LastSocketError() != WSAEWOULDBLOCK_;
        };
        if (WaitWatched(kWatchWrite, kTimeoutInfinite, sendSome))
            return sent;
    }
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
