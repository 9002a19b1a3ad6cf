#include "net/NetStackPosix.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "net/NetException.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace orbelin {

namespace {

// The last failure, in Winsock numbers; per thread, as WSAGetLastError is.
thread_local int tLastError = 0;

int Fail(int winsockCode)
{
    tLastError = winsockCode;
    return kSocketError;
}

int FailErrno() { return Fail(WinsockCodeForErrno(errno)); }

int Checked(int result) { return result < 0 ? FailErrno() : result; }

sockaddr_in MakeAddress(const std::string& ip, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = ip.empty() ? htonl(INADDR_ANY) : inet_addr(ip.c_str());
    return address;
}

std::string AddressText(const in_addr& address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

int NativeLevel(int level) { return level == kSolSocket ? SOL_SOCKET : level; }

int NativeOption(int level, int option)
{
    if (level != kSolSocket)
        return option;
    switch (option) {
    case kSoReuseAddr: return SO_REUSEADDR;
    case kSoKeepAlive: return SO_KEEPALIVE;
    case kSoLinger: return SO_LINGER;
    case kSoSndBuf: return SO_SNDBUF;
    case kSoRcvBuf: return SO_RCVBUF;
    default: return option;
    }
}

int ToFd(TNetSocketId socket) { return static_cast<int>(socket); }

void FillSet(TNetSocketList* list, fd_set& set, int& highest)
{
    FD_ZERO(&set);
    if (!list)
        return;
    for (int i = 0; i < list->Count(); ++i) {
        const int fd = ToFd(list->Item(i));
        if (fd < 0 || fd >= FD_SETSIZE)
            throw ENetStackSetSizeExceeded(SNetSetSizeExceeded);
        FD_SET(fd, &set);
        highest = std::max(highest, fd);
    }
}

void KeepReady(TNetSocketList* list, const fd_set& set)
{
    if (!list)
        return;
    std::vector<TNetSocketId> ready;
    for (int i = 0; i < list->Count(); ++i)
        if (FD_ISSET(ToFd(list->Item(i)), &set))
            ready.push_back(list->Item(i));
    list->Clear();
    for (TNetSocketId socket : ready)
        list->Add(socket);
}

} // namespace

int WinsockCodeForErrno(int error)
{
    switch (error) {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EPERM: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case ENFILE: return 10024;
    case EWOULDBLOCK: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case EPIPE: return 10054; // the peer is gone, as Windows reports a send then
    case ENOBUFS: return 10055;
    case ENOMEM: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    default: return 10000 + error;
    }
}

int WinsockCodeForResolver(int error)
{
    switch (error) {
    case EAI_MEMORY: return 10055;
    case EAI_SYSTEM: return WinsockCodeForErrno(errno);
    case EAI_FAMILY: return 10047;
    case EAI_SOCKTYPE: return 10044;
    default: return WSAHOST_NOT_FOUND_; // every failed lookup reads "Host not found."
    }
}

void TNetStackPosix::FillLocalAddresses()
{
    FLocalAddressList->Clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        CheckSocketResult(FailErrno());
    for (ifaddrs* a = list; a; a = a->ifa_next)
        if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET)
            FLocalAddressList->Add(AddressText(reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr));
    freeifaddrs(list);
}

TNetSocketId TNetStackPosix::SockAccept(TNetSocketId socket, std::string& ip, int& port)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int fd = accept(ToFd(socket), reinterpret_cast<sockaddr*>(&address), &length);
    if (fd < 0)
        return FailErrno();
    ip = AddressText(address.sin_addr);
    port = ntohs(address.sin_port);
    return fd;
}

int TNetStackPosix::SockBind(TNetSocketId socket, int, const std::string& ip, int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    return Checked(bind(ToFd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address));
}

int TNetStackPosix::SockClose(TNetSocketId socket) { return Checked(close(ToFd(socket))); }

int TNetStackPosix::SockConnect(TNetSocketId socket, int, const std::string& ip, int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    int result;
    do
        result = connect(ToFd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result < 0 && errno == EINTR);
    return Checked(result);
}

std::string TNetStackPosix::HostToAddress(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answer = nullptr;
    const int error = getaddrinfo(host.c_str(), nullptr, &hints, &answer);
    if (error != 0) {
        Fail(WinsockCodeForResolver(error));
        CheckSocketResult(kSocketError);
    }
    const std::string ip = AddressText(reinterpret_cast<sockaddr_in*>(answer->ai_addr)->sin_addr);
    freeaddrinfo(answer);
    return ip;
}

std::string TNetStackPosix::OwnHostName()
{
    char name[250] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

std::string TNetStackPosix::AddressToHost(const std::string& ip)
{
    const sockaddr_in address = MakeAddress(ip, 0);
    char host[NI_MAXHOST] = {};
    const int error = getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, host, sizeof host,
                                  nullptr, 0, NI_NAMEREQD);
    if (error != 0) {
        Fail(WinsockCodeForResolver(error));
        CheckSocketResult(kSocketError);
    }
    return host;
}

int TNetStackPosix::ServicePort(const std::string& service)
{
    if (const servent* entry = getservbyname(service.c_str(), nullptr))
        return ntohs(static_cast<uint16_t>(entry->s_port));
    return NumericServicePort(service);
}

std::unique_ptr<TStringList> TNetStackPosix::ServiceNames(int port)
{
    auto names = std::make_unique<TStringList>();
    if (const servent* entry = getservbyport(htons(static_cast<uint16_t>(port)), nullptr)) {
        names->Add(entry->s_name);
        for (char** alias = entry->s_aliases; alias && *alias; ++alias)
            names->Add(*alias);
    }
    return names;
}

uint16_t TNetStackPosix::HostToNet16(uint16_t value) { return htons(value); }
int TNetStackPosix::SockListen(TNetSocketId socket, int backlog) { return Checked(listen(ToFd(socket), backlog)); }
uint16_t TNetStackPosix::NetToHost16(uint16_t value) { return ntohs(value); }
uint32_t TNetStackPosix::HostToNet32(uint32_t value) { return htonl(value); }
uint32_t TNetStackPosix::NetToHost32(uint32_t value) { return ntohl(value); }

int TNetStackPosix::SockRecv(TNetSocketId socket, void* buffer, int length, int flags)
{
    ssize_t n;
    do
        n = recv(ToFd(socket), buffer, static_cast<size_t>(length), flags);
    while (n < 0 && errno == EINTR);
    return n < 0 ? FailErrno() : static_cast<int>(n);
}

int TNetStackPosix::SockRecvFrom(TNetSocketId socket, void* buffer, int length, int flags, std::string& ip, int& port)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    const ssize_t n =
        recvfrom(ToFd(socket), buffer, static_cast<size_t>(length), flags, reinterpret_cast<sockaddr*>(&address), &size);
    if (n < 0)
        return FailErrno();
    ip = AddressText(address.sin_addr);
    port = ntohs(address.sin_port);
    return static_cast<int>(n);
}

int TNetStackPosix::SockSelect(TNetSocketList* read, TNetSocketList* write, TNetSocketList* error, int ms)
{
    fd_set readSet, writeSet, errorSet;
    int highest = -1;
    FillSet(read, readSet, highest);
    FillSet(write, writeSet, highest);
    FillSet(error, errorSet, highest);
    timeval time{ms / 1000, (ms % 1000) * 1000};
    const int result = select(highest + 1, read ? &readSet : nullptr, write ? &writeSet : nullptr,
                              error ? &errorSet : nullptr, ms == kTimeoutInfinite ? nullptr : &time);
    if (result < 0)
        return FailErrno();
    KeepReady(read, readSet);
    KeepReady(write, writeSet);
    KeepReady(error, errorSet);
    return result;
}

int TNetStackPosix::SockSend(TNetSocketId socket, const void* buffer, int length, int flags)
{
    ssize_t n;
    do
        n = send(ToFd(socket), buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n < 0 ? FailErrno() : static_cast<int>(n);
}

int TNetStackPosix::SockSendTo(TNetSocketId socket, const void* buffer, int length, int flags, const std::string& ip,
                               int port)
{
    const sockaddr_in address = MakeAddress(ip, port);
    const ssize_t n = sendto(ToFd(socket), buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return n < 0 ? FailErrno() : static_cast<int>(n);
}

int TNetStackPosix::SockSetOption(TNetSocketId socket, int level, int option, const void* value, int length)
{
    return Checked(setsockopt(ToFd(socket), NativeLevel(level), NativeOption(level, option), value,
                              static_cast<socklen_t>(length)));
}

TNetSocketId TNetStackPosix::SockOpen(int family, int type, int protocol)
{
    const int fd = socket(family == kAfInet ? AF_INET : family, type == kSockStream ? SOCK_STREAM : type, protocol);
    if (fd < 0) {
        FailErrno();
        return kInvalidSocket;
    }
#ifdef SO_NOSIGPIPE
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return fd;
}

int TNetStackPosix::SockShutdown(TNetSocketId socket, int how) { return Checked(shutdown(ToFd(socket), how)); }

int TNetStackPosix::LastSocketError() { return tLastError; }

std::string TNetStackPosix::SocketErrorText(int code)
{
    if (code == WSAHOST_NOT_FOUND_)
        return Format(SNetSocketError, code, "Host not found.");
    return TNetStack::SocketErrorText(code);
}

namespace {

// getpeername or getsockname, whose answers read alike.
int QueryName(int (*query)(int, sockaddr*, socklen_t*), TNetSocketId socket, int& family, std::string& ip, int& port)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int result = Checked(query(ToFd(socket), reinterpret_cast<sockaddr*>(&address), &length));
    family = kAfInet;
    ip = AddressText(address.sin_addr);
    port = ntohs(address.sin_port);
    return result;
}

} // namespace

void TNetStackPosix::SockPeerName(TNetSocketId socket, int& family, std::string& ip, int& port)
{
    CheckSocketResult(QueryName(&getpeername, socket, family, ip, port));
}

void TNetStackPosix::SockLocalName(TNetSocketId socket, int& family, std::string& ip, int& port)
{
    CheckSocketResult(QueryName(&getsockname, socket, family, ip, port));
}

int TNetStackPosix::SockGetOption(TNetSocketId socket, int level, int option, void* value, int& length)
{
    socklen_t size = static_cast<socklen_t>(length);
    const int result = Checked(getsockopt(ToFd(socket), NativeLevel(level), NativeOption(level, option), value, &size));
    length = static_cast<int>(size);
    return result;
}

std::unique_ptr<TNetStack> CreatePlatformStack() { return std::make_unique<TNetStackPosix>(); }

TNetFileSender FileSender = nullptr;

} // namespace orbelin
