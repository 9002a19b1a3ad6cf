#include "net/NetWinSock2.h"

#include "base/Format.h"
#include "net/NetException.h"

namespace orbelin {

namespace {

struct TEntryRecord {
    const char* Name;
    void (*Set)(void*);
    void (*Reset)();
    bool (*Unbound)();
};

template <int I, class Fn>
constexpr TEntryRecord Record(const char* name)
{
    return {name, &TWinsockEntry<I, Fn>::Set, &TWinsockEntry<I, Fn>::Reset, &TWinsockEntry<I, Fn>::Unbound};
}

const TEntryRecord kWinsockEntryTable[kWinsockEntryCount] = {
    Record<0, decltype(&::WSACleanup)>("WSACleanup"),
    Record<1, decltype(&::accept)>("accept"),
    Record<2, decltype(&::bind)>("bind"),
    Record<3, decltype(&::closesocket)>("closesocket"),
    Record<4, decltype(&::connect)>("connect"),
    Record<5, decltype(&::ioctlsocket)>("ioctlsocket"),
    Record<6, decltype(&::getpeername)>("getpeername"),
    Record<7, decltype(&::getsockname)>("getsockname"),
    Record<8, decltype(&::getsockopt)>("getsockopt"),
    Record<9, decltype(&::htonl)>("htonl"),
    Record<10, decltype(&::htons)>("htons"),
    Record<11, decltype(&::inet_addr)>("inet_addr"),
    Record<12, decltype(&::inet_ntoa)>("inet_ntoa"),
    Record<13, decltype(&::listen)>("listen"),
    Record<14, decltype(&::ntohl)>("ntohl"),
    Record<15, decltype(&::ntohs)>("ntohs"),
    Record<16, decltype(&::recv)>("recv"),
    Record<17, decltype(&::recvfrom)>("recvfrom"),
    Record<18, decltype(&::select)>("select"),
    Record<19, decltype(&::send)>("send"),
    Record<20, decltype(&::sendto)>("sendto"),
    Record<21, decltype(&::setsockopt)>("setsockopt"),
    Record<22, decltype(&::shutdown)>("shutdown"),
    Record<23, decltype(&::socket)>("socket"),
    Record<24, decltype(&::gethostbyaddr)>("gethostbyaddr"),
    Record<25, decltype(&::gethostbyname)>("gethostbyname"),
    Record<26, decltype(&::gethostname)>("gethostname"),
    Record<27, decltype(&::getservbyport)>("getservbyport"),
    Record<28, decltype(&::getservbyname)>("getservbyname"),
    Record<29, decltype(&::getprotobynumber)>("getprotobynumber"),
    Record<30, decltype(&::getprotobyname)>("getprotobyname"),
    Record<31, decltype(&::WSASetLastError)>("WSASetLastError"),
    Record<32, decltype(&::WSAGetLastError)>("WSAGetLastError"),
    Record<33, decltype(&::WSAIsBlocking)>("WSAIsBlocking"),
    Record<34, decltype(&::WSAUnhookBlockingHook)>("WSAUnhookBlockingHook"),
    Record<35, decltype(&::WSASetBlockingHook)>("WSASetBlockingHook"),
    Record<36, decltype(&::WSACancelBlockingCall)>("WSACancelBlockingCall"),
    Record<37, decltype(&::WSAAsyncGetServByName)>("WSAAsyncGetServByName"),
    Record<38, decltype(&::WSAAsyncGetServByPort)>("WSAAsyncGetServByPort"),
    Record<39, decltype(&::WSAAsyncGetProtoByName)>("WSAAsyncGetProtoByName"),
    Record<40, decltype(&::WSAAsyncGetProtoByNumber)>("WSAAsyncGetProtoByNumber"),
    Record<41, decltype(&::WSAAsyncGetHostByName)>("WSAAsyncGetHostByName"),
    Record<42, decltype(&::WSAAsyncGetHostByAddr)>("WSAAsyncGetHostByAddr"),
    Record<43, decltype(&::WSACancelAsyncRequest)>("WSACancelAsyncRequest"),
    Record<44, decltype(&::WSAAsyncSelect)>("WSAAsyncSelect"),
    Record<45, decltype(&::__WSAFDIsSet)>("__WSAFDIsSet"),
    Record<46, decltype(&::WSAAccept)>("WSAAccept"),
    Record<47, decltype(&::WSACloseEvent)>("WSACloseEvent"),
    Record<48, decltype(&::WSAConnect)>("WSAConnect"),
    Record<49, decltype(&::WSACreateEvent)>("WSACreateEvent"),
    Record<50, decltype(&::WSADuplicateSocketA)>("WSADuplicateSocketA"),
    Record<51, decltype(&::WSADuplicateSocketW)>("WSADuplicateSocketW"),
    Record<52, decltype(&::WSAEnumNetworkEvents)>("WSAEnumNetworkEvents"),
    Record<53, decltype(&::WSAEnumProtocolsA)>("WSAEnumProtocolsA"),
    Record<54, decltype(&::WSAEnumProtocolsW)>("WSAEnumProtocolsW"),
    Record<55, decltype(&::WSAEventSelect)>("WSAEventSelect"),
    Record<56, decltype(&::WSAGetOverlappedResult)>("WSAGetOverlappedResult"),
    Record<57, decltype(&::WSAGetQOSByName)>("WSAGetQOSByName"),
    Record<58, decltype(&::WSAHtonl)>("WSAHtonl"),
    Record<59, decltype(&::WSAHtons)>("WSAHtons"),
    Record<60, decltype(&::WSAIoctl)>("WSAIoctl"),
    Record<61, decltype(&::WSAJoinLeaf)>("WSAJoinLeaf"),
    Record<62, decltype(&::WSANtohl)>("WSANtohl"),
    Record<63, decltype(&::WSANtohs)>("WSANtohs"),
    Record<64, decltype(&::WSARecv)>("WSARecv"),
    Record<65, decltype(&::WSARecvDisconnect)>("WSARecvDisconnect"),
    Record<66, decltype(&::WSARecvFrom)>("WSARecvFrom"),
    Record<67, decltype(&::WSAResetEvent)>("WSAResetEvent"),
    Record<68, decltype(&::WSASend)>("WSASend"),
    Record<69, decltype(&::WSASendDisconnect)>("WSASendDisconnect"),
    Record<70, decltype(&::WSASendTo)>("WSASendTo"),
    Record<71, decltype(&::WSASetEvent)>("WSASetEvent"),
    Record<72, decltype(&::WSASocketA)>("WSASocketA"),
    Record<73, decltype(&::WSASocketW)>("WSASocketW"),
    Record<74, decltype(&::WSAWaitForMultipleEvents)>("WSAWaitForMultipleEvents"),
    Record<75, decltype(&::WSAAddressToStringA)>("WSAAddressToStringA"),
    Record<76, decltype(&::WSAAddressToStringW)>("WSAAddressToStringW"),
    Record<77, decltype(&::WSAStringToAddressA)>("WSAStringToAddressA"),
    Record<78, decltype(&::WSAStringToAddressW)>("WSAStringToAddressW"),
    Record<79, decltype(&::WSALookupServiceBeginA)>("WSALookupServiceBeginA"),
    Record<80, decltype(&::WSALookupServiceBeginW)>("WSALookupServiceBeginW"),
    Record<81, decltype(&::WSALookupServiceNextA)>("WSALookupServiceNextA"),
    Record<82, decltype(&::WSALookupServiceNextW)>("WSALookupServiceNextW"),
    Record<83, decltype(&::WSALookupServiceEnd)>("WSALookupServiceEnd"),
    Record<84, decltype(&::WSAInstallServiceClassA)>("WSAInstallServiceClassA"),
    Record<85, decltype(&::WSAInstallServiceClassW)>("WSAInstallServiceClassW"),
    Record<86, decltype(&::WSARemoveServiceClass)>("WSARemoveServiceClass"),
    Record<87, decltype(&::WSAGetServiceClassInfoA)>("WSAGetServiceClassInfoA"),
    Record<88, decltype(&::WSAGetServiceClassInfoW)>("WSAGetServiceClassInfoW"),
    Record<89, decltype(&::WSAEnumNameSpaceProvidersA)>("WSAEnumNameSpaceProvidersA"),
    Record<90, decltype(&::WSAEnumNameSpaceProvidersW)>("WSAEnumNameSpaceProvidersW"),
    Record<91, decltype(&::WSAGetServiceClassNameByClassIdA)>("WSAGetServiceClassNameByClassIdA"),
    Record<92, decltype(&::WSAGetServiceClassNameByClassIdW)>("WSAGetServiceClassNameByClassIdW"),
    Record<93, decltype(&::WSASetServiceA)>("WSASetServiceA"),
    Record<94, decltype(&::WSASetServiceW)>("WSASetServiceW"),
    Record<95, decltype(&::WSAProviderConfigChange)>("WSAProviderConfigChange"),
    Record<96, decltype(&::WSANSPIoctl)>("WSANSPIoctl"),
    Record<97, decltype(&::WSAConnectByNameA)>("WSAConnectByNameA"),
    Record<98, decltype(&::WSAConnectByNameW)>("WSAConnectByNameW"),
    Record<99, decltype(&::WSAConnectByList)>("WSAConnectByList"),
    Record<100, decltype(&::WSAPoll)>("WSAPoll"),
    Record<101, decltype(&::WSASendMsg)>("WSASendMsg"),
    Record<102, decltype(&::WSAEnumNameSpaceProvidersExA)>("WSAEnumNameSpaceProvidersExA"),
    Record<103, decltype(&::WSAEnumNameSpaceProvidersExW)>("WSAEnumNameSpaceProvidersExW"),
    Record<104, decltype(&::getaddrinfo)>("getaddrinfo"),
    Record<105, decltype(&::freeaddrinfo)>("freeaddrinfo"),
    Record<106, decltype(&::getnameinfo)>("getnameinfo"),
    Record<107, decltype(&::GetAddrInfoW)>("GetAddrInfoW"),
    Record<108, decltype(&::TransmitFile)>("TransmitFile"),
    Record<109, decltype(&::AcceptEx)>("AcceptEx"),
    Record<110, decltype(&::GetAcceptExSockaddrs)>("GetAcceptExSockaddrs"),
    Record<111, decltype(&::WSARecvEx)>("WSARecvEx"),
};
std::atomic<HMODULE> gLibrary{nullptr};

} // namespace

const char* WinsockEntryName(int index) { return kWinsockEntryTable[index].Name; }

bool WinsockEntryUnbound(int index) { return kWinsockEntryTable[index].Unbound(); }

bool WinsockLoaded() { return gLibrary.load() != nullptr; }

int LoadWinsock(WORD version, WSADATA* data)
{
    if (gLibrary.load())
        return 0;
    HMODULE library = LoadLibraryA("WS2_32.DLL");
    if (!library)
        throw ENetWS2StubError(GetLastError(), Format(SNetWS2LoadError, "WS2_32.DLL"));
    HMODULE expected = nullptr;
    if (!gLibrary.compare_exchange_strong(expected, library))
        FreeLibrary(library); // another thread loaded it first
    using TStartup = int(WSAAPI*)(WORD, WSADATA*);
    const auto startup = reinterpret_cast<TStartup>(reinterpret_cast<void*>(GetProcAddress(gLibrary.load(), "WSAStartup")));
    if (!startup)
        throw ENetWS2StubError(GetLastError(), Format(SNetWS2CallError, "WSAStartup"));
    return startup(version, data);
}

void* BindWinsockEntry(int index)
{
    const TEntryRecord& entry = kWinsockEntryTable[index];
    const HMODULE library = gLibrary.load();
    if (!library)
        throw ENetWS2StubError(WSANOTINITIALISED, Format(SNetWS2CallError, entry.Name));
    void* address = reinterpret_cast<void*>(GetProcAddress(library, entry.Name));
    if (!address)
        throw ENetWS2StubError(GetLastError(), Format(SNetWS2CallError, entry.Name));
    entry.Set(address);
    return address;
}

void ResetWinsockEntries()
{
    gLibrary.store(nullptr);
    for (const TEntryRecord& entry : kWinsockEntryTable)
        entry.Reset();
}

void UnloadWinsock()
{
    const HMODULE library = gLibrary.exchange(nullptr);
    if (!library)
        return;
    FreeLibrary(library);
    ResetWinsockEntries();
}

} // namespace orbelin
