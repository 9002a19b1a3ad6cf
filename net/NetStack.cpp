#include "net/NetStack.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "net/NetException.h"

#include <algorithm>
#include <mutex>

namespace orbelin {

// ---- socket list ----

TNetSocketId TNetSocketList::Item(int index) const
{
    if (index < 0 || index >= FCount)
        throw ENetStackSetSizeExceeded(SNetSetSizeExceeded);
    return FSlots[static_cast<size_t>(index)];
}

void TNetSocketList::Add(TNetSocketId socket)
{
    if (FCount >= kMaxSockets)
        throw ENetStackSetSizeExceeded(SNetSetSizeExceeded);
    FSlots[static_cast<size_t>(FCount++)] = socket;
}

void TNetSocketList::Remove(TNetSocketId socket)
{
    for (int i = 0; i < FCount; ++i) {
        if (FSlots[static_cast<size_t>(i)] != socket)
            continue;
        FSlots[static_cast<size_t>(i)] = FSlots[static_cast<size_t>(FCount - 1)];
        FSlots[static_cast<size_t>(FCount - 1)] = 0;
        --FCount;
        return;
    }
}

void TNetSocketList::Clear() noexcept
{
    FSlots.fill(0);
    FCount = 0;
}

bool TNetSocketList::Contains(TNetSocketId socket) const noexcept
{
    return std::find(FSlots.begin(), FSlots.begin() + FCount, socket) != FSlots.begin() + FCount;
}

// ---- error texts ----

std::string SocketErrorCodeText(int code)
{
    struct Entry {
        int Code;
        const char* Text;
    };
    static constexpr Entry kTable[] = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
    };
    for (const Entry& e : kTable)
        if (e.Code == code)
            return e.Text;
    return std::string();
}

// ---- stack ----

TNetStack::~TNetStack() = default;

std::string TNetStack::FirstLocalAddress()
{
    TStringList& list = LocalAddressTexts();
    return list.Empty() ? std::string() : list[0];
}

TStringList& TNetStack::LocalAddressTexts()
{
    if (!FLocalAddressList)
        FLocalAddressList = std::make_unique<TStringList>();
    FillLocalAddresses();
    return *FLocalAddressList;
}

std::string TNetStack::SocketErrorText(int code)
{
    return Format(SNetSocketError, code, SocketErrorCodeText(code).c_str());
}

std::string TNetStack::AddressToText(const std::array<uint8_t, 4>& address)
{
    return Format("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

std::array<uint8_t, 4> TNetStack::TextToAddress(const std::string& text)
{
    std::string rest = text;
    std::array<uint8_t, 4> address{};
    for (uint8_t& byte : address)
        byte = static_cast<uint8_t>(StrToInt(SplitOff(rest, ".")));
    return address;
}

bool TNetStack::CheckSocketResult(int result, std::initializer_list<int> tolerated)
{
    if (result != kSocketError)
        return false;
    LastErrorCode = LastSocketError();
    if (std::find(tolerated.begin(), tolerated.end(), LastErrorCode) != tolerated.end())
        return true;
    RaiseSocketFailure(LastErrorCode);
}

void TNetStack::RaiseSocketFailure(int code)
{
    throw ENetSocketError(code, SocketErrorText(code));
}

TNetSocketId TNetStack::NewSocketHandle(int type, int protocol)
{
    const TNetSocketId socket = SockOpen(kAfInet, type, protocol);
    if (socket == kInvalidSocket)
        throw ENetInvalidSocket(SNetCannotAllocateSocket);
    return socket;
}

std::string TNetStack::ResolveHostToIP(const std::string& host)
{
    if (SameText(host, "LOCALHOST"))
        return "127.0.0.1";
    if (IsIPv4Text(host))
        return host;
    return HostToAddress(host);
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool TNetStack::IsIPv4Text(std::string_view text)
{
    std::string rest(text);
    for (int i = 0; i < 4; ++i) {
        const std::string piece = i < 3 ? SplitOff(rest, ".") : rest;
        if (piece.empty() || piece.size() > 3 || !std::all_of(piece.begin(), piece.end(), IsDigit))
            return false;
        if (std::stoi(piece) > 255)
            return false;
    }
    return true;
}

uint32_t TNetStack::ParseIPv4(const std::string& text)
{
    const std::array<uint8_t, 4> a = TextToAddress(text);
    uint32_t value = 0;
    static_assert(sizeof value == sizeof a);
    std::copy(a.begin(), a.end(), reinterpret_cast<uint8_t*>(&value));
    return value;
}

// ---- process-wide stack ----

namespace {

std::mutex& StackLock()
{
    static std::mutex lock;
    return lock;
}

std::unique_ptr<TNetStack> gGlobalStack;
int gStackUserCount = 0;

} // namespace

TNetStackFactory StackClass = &CreatePlatformStack;

TNetStack* GlobalStack() { return gGlobalStack.get(); }

int StackUserCount()
{
    std::lock_guard guard(StackLock());
    return gStackUserCount;
}

void AcquireStack()
{
    std::lock_guard guard(StackLock());
    if (gStackUserCount == 0)
        gGlobalStack = StackClass();
    ++gStackUserCount;
}

void ReleaseStack()
{
    std::lock_guard guard(StackLock());
    if (--gStackUserCount == 0)
        gGlobalStack.reset();
}

int TNetStack::NumericServicePort(const std::string& service)
{
    int64_t port = 0;
    if (!service.empty() && std::all_of(service.begin(), service.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        TryStrToInt64(service, port) && port <= 0x7FFFFFFF)
        return static_cast<int>(port);
    throw ENetInvalidServiceName(Format(SNetInvalidService, service.c_str()));
}

} // namespace orbelin
