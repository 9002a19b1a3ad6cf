#pragma once
// The process-wide socket stack: every socket call of the transport goes
// through one TNetStack object, which hides the platform's socket library,
// resolves host names, converts IPv4 addresses and turns socket error codes
// (always Winsock numbers, on every platform) into exceptions.

#include "base/Component.h"
#include "base/StringList.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin {

// An OS socket value; kInvalidSocket (INVALID_SOCKET) when none.
using TNetSocketId = intptr_t;
inline constexpr TNetSocketId kInvalidSocket = -1;
inline constexpr int kSocketError = -1;

// Constants of the socket interface as the transport passes them (Winsock
// numbers; the POSIX stack translates the ones that differ).
inline constexpr int kAfInet = 2;
inline constexpr int kSockStream = 1;
inline constexpr int kIpProtoTcp = 6;
inline constexpr int kTcpNoDelay = 1;
inline constexpr int kSolSocket = 0xFFFF;
inline constexpr int kSoReuseAddr = 0x0004;
inline constexpr int kSoKeepAlive = 0x0008;
inline constexpr int kSoLinger = 0x0080;
inline constexpr int kSoSndBuf = 0x1001;
inline constexpr int kSoRcvBuf = 0x1002;
inline constexpr int kShutdownSend = 1;
inline constexpr int kTimeoutDefault = -1;
inline constexpr int kTimeoutInfinite = -2;

// Winsock error codes the transport tests for.
inline constexpr int WSAEINTR_ = 10004;
inline constexpr int WSAEBADF_ = 10009;
inline constexpr int WSAEWOULDBLOCK_ = 10035;
inline constexpr int WSAENOTSOCK_ = 10038;
inline constexpr int WSAEADDRINUSE_ = 10048;
inline constexpr int WSAECONNABORTED_ = 10053;
inline constexpr int WSAECONNRESET_ = 10054;
inline constexpr int WSAESHUTDOWN_ = 10058;
inline constexpr int WSAETIMEDOUT_ = 10060;
inline constexpr int WSAECONNREFUSED_ = 10061;
inline constexpr int WSANOTINITIALISED_ = 10093;
inline constexpr int WSAHOST_NOT_FOUND_ = 11001;

// A set of up to 64 socket values, as select takes them.
class TNetSocketList : public TObject {
public:
    static constexpr int kMaxSockets = 64;

    int Count() const noexcept { return FCount; }
    TNetSocketId Item(int index) const;       // raises "Set Size Exceeded." outside 0..Count-1
    void Add(TNetSocketId socket);            // raises on the 65th
    void Remove(TNetSocketId socket);         // the last entry takes the freed slot
    void Clear() noexcept;
    bool Contains(TNetSocketId socket) const noexcept;

private:
    int FCount = 0;
    std::array<TNetSocketId, kMaxSockets> FSlots{};
};

// A flag that another thread or the socket library sets and a waiting
// thread sleeps on, beside its window messages when it has an idle hook.
class TNetSignal {
public:
    virtual ~TNetSignal() = default;
    virtual void Set() = 0;
    virtual void Reset() = 0;
    // Waits up to ms for the flag; true once it is set.
    virtual bool Wait(int ms) = 0;
    // The platform's handle of the flag.
    virtual void* Handle() const = 0;
};

// What a socket watch reports (SockWatch).
inline constexpr int kWatchRead = 1;
inline constexpr int kWatchWrite = 2;

class TNetStack : public TObject {
public:
    TNetStack() = default;
    ~TNetStack() override;

    int32_t LastErrorCode = 0;

    // The virtual operations, in their fixed order.
    virtual void FillLocalAddresses() = 0;
    virtual std::string FirstLocalAddress();
    virtual TStringList& LocalAddressTexts();
    virtual TNetSocketId SockAccept(TNetSocketId socket, std::string& ip, int& port) = 0;
    virtual int SockBind(TNetSocketId socket, int family, const std::string& ip, int port) = 0;
    virtual int SockClose(TNetSocketId socket) = 0;
    virtual int SockConnect(TNetSocketId socket, int family, const std::string& ip, int port) = 0;
    virtual std::string HostToAddress(const std::string& host) = 0;
    virtual std::string OwnHostName() = 0;
    virtual std::string AddressToHost(const std::string& ip) = 0;
    virtual int ServicePort(const std::string& service) = 0;
    virtual std::unique_ptr<TStringList> ServiceNames(int port) = 0;
    virtual uint16_t HostToNet16(uint16_t value) = 0;
    virtual int SockListen(TNetSocketId socket, int backlog) = 0;
    virtual uint16_t NetToHost16(uint16_t value) = 0;
    virtual uint32_t HostToNet32(uint32_t value) = 0;
    virtual uint32_t NetToHost32(uint32_t value) = 0;
    virtual int SockRecv(TNetSocketId socket, void* buffer, int length, int flags) = 0;
    virtual int SockRecvFrom(TNetSocketId socket, void* buffer, int length, int flags, std::string& ip, int& port) = 0;
    // Waits until a socket of the lists is ready; ms -2 = no limit, 0 = poll.
    // Each list given is rewritten to hold exactly the ready sockets.
    virtual int SockSelect(TNetSocketList* read, TNetSocketList* write, TNetSocketList* error, int ms) = 0;
    virtual int SockSend(TNetSocketId socket, const void* buffer, int length, int flags) = 0;
    virtual int SockSendTo(TNetSocketId socket, const void* buffer, int length, int flags, const std::string& ip,
                           int port) = 0;
    virtual int SockSetOption(TNetSocketId socket, int level, int option, const void* value, int length) = 0;
    virtual TNetSocketId SockOpen(int family, int type, int protocol) = 0;
    virtual int SockShutdown(TNetSocketId socket, int how) = 0;
    virtual std::string SocketErrorText(int code);
    virtual int LastSocketError() = 0;
    virtual void SockPeerName(TNetSocketId socket, int& family, std::string& ip, int& port) = 0;
    virtual void SockLocalName(TNetSocketId socket, int& family, std::string& ip, int& port) = 0;
    virtual int SockGetOption(TNetSocketId socket, int level, int option, void* value, int& length) = 0;
    virtual std::string AddressToText(const std::array<uint8_t, 4>& address);
    virtual std::array<uint8_t, 4> TextToAddress(const std::string& text);
    // Signals and socket watches for the waits of the idle hook's thread. A
    // platform without them answers null and false; those waits then look
    // at the socket every IdleTimeOut instead.
    virtual std::unique_ptr<TNetSignal> NewSignal() { return nullptr; }
    // Sets signal whenever the socket may have become readable (data or the
    // peer's close; kWatchRead) or writable (kWatchWrite). A watched socket
    // does not block; SockUnwatch makes it block again and keeps the last
    // socket error as it was.
    virtual bool SockWatch(TNetSocketId, int, TNetSignal&) { return false; }
    virtual void SockUnwatch(TNetSocketId) {}

    // False unless result is -1; then true for a tolerated code, else raises.
    bool CheckSocketResult(int result, std::initializer_list<int> tolerated = {});
    [[noreturn]] void RaiseSocketFailure(int code);
    TNetSocketId NewSocketHandle(int type, int protocol);
    std::string ResolveHostToIP(const std::string& host);
    static bool IsIPv4Text(std::string_view text);
    // The address in memory (network) order, as the socket calls store it.
    uint32_t ParseIPv4(const std::string& text);

protected:
    // A service given by number ("8080"), for a name the services database
    // lacks; anything else raises ENetInvalidServiceName.
    static int NumericServicePort(const std::string& service);

    std::unique_ptr<TStringList> FLocalAddressList;
};

// The table text of a Winsock error code ("" when unknown).
std::string SocketErrorCodeText(int code);

// Process-wide stack. GlobalStack() is null while no network component lives.
TNetStack* GlobalStack();
int StackUserCount();
using TNetStackFactory = std::unique_ptr<TNetStack> (*)();
// The stack class of the platform; tests may replace it while no component lives.
extern TNetStackFactory StackClass;
std::unique_ptr<TNetStack> CreatePlatformStack();

// Whole-file sending over a socket, installed only where the platform has it
// (Windows NT family). Returns the bytes sent, 0 on failure, -1 when the
// socket provider has no whole-file sending (the caller then streams it).
using TNetFileSender = int64_t (*)(TNetSocketId socket, const std::string& fileName);
extern TNetFileSender FileSender;

// Used by TNetComponent; guarded by StackLock.
void AcquireStack();
void ReleaseStack();

} // namespace orbelin
