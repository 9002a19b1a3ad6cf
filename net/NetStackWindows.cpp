#include "net/NetStackWindows.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "net/NetException.h"
#include "net/NetWinSock2.h"

#include <algorithm>
#include <atomic>

namespace orbelin {

namespace {

using namespace ws2;

std::atomic<bool> gWinsockStarted{false};

// Start-up and process end: entries reset; WSACleanup once if started, then
// the library is freed.
struct TWinsockLifetime {
    TWinsockLifetime() { ResetWinsockEntries(); }
    ~TWinsockLifetime()
    {
        if (gWinsockStarted.load() && WinsockLoaded())
            WSACleanup()();
        UnloadWinsock();
    }
};
TWinsockLifetime gLifetime;

SOCKET Sock(TNetSocketId socket) { return static_cast<SOCKET>(socket); }

sockaddr_in MakeAddress(const std::string& ip, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons()(static_cast<u_short>(port));
    address.sin_addr.s_addr = ip.empty() ? 0 : inet_addr()(ip.c_str());
    return address;
}

std::string AddressText(const in_addr& address)
{
    const auto* b = reinterpret_cast<const uint8_t*>(&address);
    return Format("%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
}

void FillSet(TNetSocketList* list, fd_set& set)
{
    set.fd_count = 0;
    if (!list)
        return;
    if (list->Count() > FD_SETSIZE)
        throw ENetStackSetSizeExceeded(SNetSetSizeExceeded);
    for (int i = 0; i < list->Count(); ++i)
        set.fd_array[set.fd_count++] = Sock(list->Item(i));
}

// select leaves exactly the ready sockets in the set, in its own order.
void KeepReady(TNetSocketList* list, const fd_set& set)
{
    if (!list)
        return;
    list->Clear();
    for (u_int i = 0; i < set.fd_count; ++i)
        list->Add(static_cast<TNetSocketId>(set.fd_array[i]));
}

// Whole-file sending through the TransmitFile extension of the socket
// provider; -1 when the provider has none.
int64_t SendWholeFile(TNetSocketId socket, const std::string& fileName)
{
    GUID id = WSAID_TRANSMITFILE;
    LPFN_TRANSMITFILE transmit = nullptr;
    DWORD returned = 0;
    if (WSAIoctl()(Sock(socket), SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &transmit, sizeof transmit,
                   &returned, nullptr, nullptr) != 0 || !transmit)
        return -1;
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const BOOL sent = transmit(Sock(socket), file, 0, 0, nullptr, nullptr, 0);
    CloseHandle(file);
    return sent ? size.QuadPart : 0;
}

bool IsWindowsNT()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&info);
#pragma GCC diagnostic pop
    return known && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

} // namespace

TNetFileSender FileSender = IsWindowsNT() ? &SendWholeFile : nullptr;

TNetStackWindows::TNetStackWindows()
{
    if (gWinsockStarted.load())
        return;
    WSADATA data{};
    if (LoadWinsock(0x0202, &data) != 0)
        throw ENetStackInitializationFailed(SNetWinsockInitError);
    gWinsockStarted = true;
}

void TNetStackWindows::FillLocalAddresses()
{
    FLocalAddressList->Clear();
    const hostent* host = gethostbyname()(OwnHostName().c_str());
    if (!host)
        CheckSocketResult(kSocketError);
    for (char** a = host->h_addr_list; a && *a; ++a)
        FLocalAddressList->Add(AddressText(*reinterpret_cast<const in_addr*>(*a)));
}

TNetSocketId TNetStackWindows::SockAccept(TNetSocketId socket, std::string& ip, int& port)
{
    sockaddr_in address{};
    int length = sizeof address;
    const SOCKET s = accept()(Sock(socket), reinterpret_cast<sockaddr*>(&address), &length);
    if (s == INVALID_SOCKET)
        return kInvalidSocket;
    ip = AddressText(address.sin_addr);
    port = ntohs()(address.sin_port);
    return static_cast<TNetSocketId>(s);
}

int TNetStackWindows::SockBind(TNetSocketId socket, int, const std::string& ip, int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    return bind()(Sock(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int TNetStackWindows::SockClose(TNetSocketId socket) { return closesocket()(Sock(socket)); }

int TNetStackWindows::SockConnect(TNetSocketId socket, int, const std::string& ip, int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    return connect()(Sock(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

std::string TNetStackWindows::HostToAddress(const std::string& host)
{
    const hostent* answer = gethostbyname()(host.c_str());
    if (!answer || !answer->h_addr_list || !answer->h_addr_list[0])
        CheckSocketResult(kSocketError);
    return AddressText(*reinterpret_cast<const in_addr*>(answer->h_addr_list[0]));
}

std::string TNetStackWindows::OwnHostName()
{
    char name[250] = {};
    gethostname()(name, sizeof name - 1);
    return name;
}

std::string TNetStackWindows::AddressToHost(const std::string& ip)
{
    const unsigned long address = inet_addr()(ip.c_str());
    const hostent* answer = gethostbyaddr()(reinterpret_cast<const char*>(&address), 4, AF_INET);
    if (!answer)
        CheckSocketResult(kSocketError);
    return answer->h_name;
}

int TNetStackWindows::ServicePort(const std::string& service)
{
    if (const servent* entry = getservbyname()(service.c_str(), nullptr))
        return ntohs()(static_cast<u_short>(entry->s_port));
    return NumericServicePort(service);
}

std::unique_ptr<TStringList> TNetStackWindows::ServiceNames(int port)
{
    auto names = std::make_unique<TStringList>();
    if (const servent* entry = getservbyport()(htons()(static_cast<u_short>(port)), nullptr)) {
        names->Add(entry->s_name);
        for (char** alias = entry->s_aliases; alias && *alias; ++alias)
            names->Add(*alias);
    }
    return names;
}

uint16_t TNetStackWindows::HostToNet16(uint16_t value) { return htons()(value); }
int TNetStackWindows::SockListen(TNetSocketId socket, int backlog) { return listen()(Sock(socket), backlog); }
uint16_t TNetStackWindows::NetToHost16(uint16_t value) { return ntohs()(value); }
uint32_t TNetStackWindows::HostToNet32(uint32_t value) { return htonl()(value); }
uint32_t TNetStackWindows::NetToHost32(uint32_t value) { return ntohl()(value); }

int TNetStackWindows::SockRecv(TNetSocketId socket, void* buffer, int length, int flags)
{
    return recv()(Sock(socket), static_cast<char*>(buffer), length, flags);
}

int TNetStackWindows::SockRecvFrom(TNetSocketId socket, void* buffer, int length, int flags, std::string& ip,
                                   int& port)
{
    sockaddr_in address{};
    int size = sizeof address;
    const int n = recvfrom()(Sock(socket), static_cast<char*>(buffer), length, flags,
                             reinterpret_cast<sockaddr*>(&address), &size);
    if (n != SOCKET_ERROR) {
        ip = AddressText(address.sin_addr);
        port = ntohs()(address.sin_port);
    }
    return n;
}

int TNetStackWindows::SockSelect(TNetSocketList* read, TNetSocketList* write, TNetSocketList* error, int ms)
{
    fd_set readSet, writeSet, errorSet;
    FillSet(read, readSet);
    FillSet(write, writeSet);
    FillSet(error, errorSet);
    timeval time{ms / 1000, (ms % 1000) * 1000};
    const int result = select()(0, read ? &readSet : nullptr, write ? &writeSet : nullptr,
                                error ? &errorSet : nullptr, ms == kTimeoutInfinite ? nullptr : &time);
    if (result == SOCKET_ERROR)
        return result;
    KeepReady(read, readSet);
    KeepReady(write, writeSet);
    KeepReady(error, errorSet);
    return result;
}

int TNetStackWindows::SockSend(TNetSocketId socket, const void* buffer, int length, int flags)
{
    return send()(Sock(socket), static_cast<const char*>(buffer), length, flags);
}

int TNetStackWindows::SockSendTo(TNetSocketId socket, const void* buffer, int length, int flags,
                                 const std::string& ip, int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    return sendto()(Sock(socket), static_cast<const char*>(buffer), length, flags,
                    reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int TNetStackWindows::SockSetOption(TNetSocketId socket, int level, int option, const void* value, int length)
{
    return setsockopt()(Sock(socket), level, option, static_cast<const char*>(value), length);
}

TNetSocketId TNetStackWindows::SockOpen(int family, int type, int protocol)
{
    const SOCKET s = socket()(family, type, protocol);
    return s == INVALID_SOCKET ? kInvalidSocket : static_cast<TNetSocketId>(s);
}

int TNetStackWindows::SockShutdown(TNetSocketId socket, int how) { return shutdown()(Sock(socket), how); }

std::string TNetStackWindows::SocketErrorText(int code)
{
    if (code == WSAHOST_NOT_FOUND)
        return Format(SNetSocketError, code, "Host not found.");
    return TNetStack::SocketErrorText(code);
}

int TNetStackWindows::LastSocketError() { return WSAGetLastError()(); }

namespace {

// getpeername or getsockname, whose answers read alike.
int QueryName(decltype(&::getpeername) query, SOCKET socket, int& family, std::string& ip, int& port)
{
    sockaddr_in address{};
    int length = sizeof address;
    const int result = query(socket, reinterpret_cast<sockaddr*>(&address), &length);
    family = address.sin_family;
    ip = AddressText(address.sin_addr);
    port = ntohs()(address.sin_port);
    return result;
}

} // namespace

void TNetStackWindows::SockPeerName(TNetSocketId socket, int& family, std::string& ip, int& port)
{
    CheckSocketResult(QueryName(getpeername(), Sock(socket), family, ip, port));
}

void TNetStackWindows::SockLocalName(TNetSocketId socket, int& family, std::string& ip, int& port)
{
    CheckSocketResult(QueryName(getsockname(), Sock(socket), family, ip, port));
}

int TNetStackWindows::SockGetOption(TNetSocketId socket, int level, int option, void* value, int& length)
{
    return getsockopt()(Sock(socket), level, option, static_cast<char*>(value), &length);
}

namespace {

// A manual-reset event: what WSAEventSelect sets and MsgWaitForMultipleObjects watches.
class TEventSignal final : public TNetSignal {
public:
    TEventSignal() : FEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~TEventSignal() override
    {
        if (FEvent)
            CloseHandle(FEvent);
    }
    TEventSignal(const TEventSignal&) = delete;
    TEventSignal& operator=(const TEventSignal&) = delete;

    void Set() override { SetEvent(FEvent); }
    void Reset() override { ResetEvent(FEvent); }
    bool Wait(int ms) override
    {
        return WaitForSingleObject(FEvent, ms < 0 ? INFINITE : static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
    }
    void* Handle() const override { return FEvent; }

private:
    HANDLE FEvent;
};

} // namespace

std::unique_ptr<TNetSignal> TNetStackWindows::NewSignal()
{
    auto signal = std::make_unique<TEventSignal>();
    return signal->Handle() ? std::move(signal) : nullptr;
}

bool TNetStackWindows::SockWatch(TNetSocketId socket, int events, TNetSignal& signal)
{
    long mask = FD_CLOSE;
    if (events & kWatchRead)
        mask |= FD_READ;
    if (events & kWatchWrite)
        mask |= FD_WRITE;
    return WSAEventSelect()(Sock(socket), static_cast<WSAEVENT>(signal.Handle()), mask) == 0;
}

void TNetStackWindows::SockUnwatch(TNetSocketId socket)
{
    // Winsock leaves an event-selected socket non-blocking until told otherwise.
    const int error = WSAGetLastError()();
    WSAEventSelect()(Sock(socket), nullptr, 0);
    u_long nonBlocking = 0;
    ioctlsocket()(Sock(socket), FIONBIO, &nonBlocking);
    WSASetLastError()(error);
}

std::unique_ptr<TNetStack> CreatePlatformStack() { return std::make_unique<TNetStackWindows>(); }

} // namespace orbelin
