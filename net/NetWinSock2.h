#pragma once
// The run-time loader of the Windows socket library. Every entry point is
// called through a function variable whose first value is a stub: the stub
// binds the entry by name in the loaded library, stores its address in the
// variable and continues into it, so the program imports nothing from it.

#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <windows.h>

#include <atomic>

namespace orbelin {

inline constexpr int kWinsockEntryCount = 112;

// Loads "WS2_32.DLL" if needed and starts it (the place of WSAStartup).
int LoadWinsock(WORD version, WSADATA* data);
// Resolves entry index by name; raises ENetWS2StubError when the library is
// not loaded (10093) or lacks the entry.
void* BindWinsockEntry(int index);
void ResetWinsockEntries();
void UnloadWinsock();
bool WinsockLoaded();
const char* WinsockEntryName(int index);
// True when the entry still points at its stub.
bool WinsockEntryUnbound(int index);

template <class Fn>
struct TWinsockStub;

template <class R, class... A>
struct TWinsockStub<R(WSAAPI*)(A...)> {
    template <int I>
    static R WSAAPI Call(A... args)
    {
        return reinterpret_cast<R(WSAAPI*)(A...)>(BindWinsockEntry(I))(args...);
    }
};

template <int I, class Fn>
struct TWinsockEntry {
    static constexpr Fn Stub() { return &TWinsockStub<Fn>::template Call<I>; }
    static inline std::atomic<Fn> Pointer{Stub()};
    static void Set(void* address) { Pointer.store(reinterpret_cast<Fn>(address)); }
    static void Reset() { Pointer.store(Stub()); }
    static bool Unbound() { return Pointer.load() == Stub(); }
};

// Typed access to the entries the stack calls.
namespace ws2 {

inline auto WSACleanup() { return TWinsockEntry<0, decltype(&::WSACleanup)>::Pointer.load(); }
inline auto accept() { return TWinsockEntry<1, decltype(&::accept)>::Pointer.load(); }
inline auto bind() { return TWinsockEntry<2, decltype(&::bind)>::Pointer.load(); }
inline auto closesocket() { return TWinsockEntry<3, decltype(&::closesocket)>::Pointer.load(); }
inline auto connect() { return TWinsockEntry<4, decltype(&::connect)>::Pointer.load(); }
inline auto ioctlsocket() { return TWinsockEntry<5, decltype(&::ioctlsocket)>::Pointer.load(); }
inline auto getpeername() { return TWinsockEntry<6, decltype(&::getpeername)>::Pointer.load(); }
inline auto getsockname() { return TWinsockEntry<7, decltype(&::getsockname)>::Pointer.load(); }
inline auto getsockopt() { return TWinsockEntry<8, decltype(&::getsockopt)>::Pointer.load(); }
inline auto htonl() { return TWinsockEntry<9, decltype(&::htonl)>::Pointer.load(); }
inline auto htons() { return TWinsockEntry<10, decltype(&::htons)>::Pointer.load(); }
inline auto inet_addr() { return TWinsockEntry<11, decltype(&::inet_addr)>::Pointer.load(); }
inline auto inet_ntoa() { return TWinsockEntry<12, decltype(&::inet_ntoa)>::Pointer.load(); }
inline auto listen() { return TWinsockEntry<13, decltype(&::listen)>::Pointer.load(); }
inline auto ntohl() { return TWinsockEntry<14, decltype(&::ntohl)>::Pointer.load(); }
inline auto ntohs() { return TWinsockEntry<15, decltype(&::ntohs)>::Pointer.load(); }
inline auto recv() { return TWinsockEntry<16, decltype(&::recv)>::Pointer.load(); }
inline auto recvfrom() { return TWinsockEntry<17, decltype(&::recvfrom)>::Pointer.load(); }
inline auto select() { return TWinsockEntry<18, decltype(&::select)>::Pointer.load(); }
inline auto send() { return TWinsockEntry<19, decltype(&::send)>::Pointer.load(); }
inline auto sendto() { return TWinsockEntry<20, decltype(&::sendto)>::Pointer.load(); }
inline auto setsockopt() { return TWinsockEntry<21, decltype(&::setsockopt)>::Pointer.load(); }
inline auto shutdown() { return TWinsockEntry<22, decltype(&::shutdown)>::Pointer.load(); }
inline auto socket() { return TWinsockEntry<23, decltype(&::socket)>::Pointer.load(); }
inline auto gethostbyaddr() { return TWinsockEntry<24, decltype(&::gethostbyaddr)>::Pointer.load(); }
inline auto gethostbyname() { return TWinsockEntry<25, decltype(&::gethostbyname)>::Pointer.load(); }
inline auto gethostname() { return TWinsockEntry<26, decltype(&::gethostname)>::Pointer.load(); }
inline auto getservbyport() { return TWinsockEntry<27, decltype(&::getservbyport)>::Pointer.load(); }
inline auto getservbyname() { return TWinsockEntry<28, decltype(&::getservbyname)>::Pointer.load(); }
inline auto getprotobynumber() { return TWinsockEntry<29, decltype(&::getprotobynumber)>::Pointer.load(); }
inline auto getprotobyname() { return TWinsockEntry<30, decltype(&::getprotobyname)>::Pointer.load(); }
inline auto WSASetLastError() { return TWinsockEntry<31, decltype(&::WSASetLastError)>::Pointer.load(); }
inline auto WSAGetLastError() { return TWinsockEntry<32, decltype(&::WSAGetLastError)>::Pointer.load(); }
inline auto WSAEventSelect() { return TWinsockEntry<55, decltype(&::WSAEventSelect)>::Pointer.load(); }
inline auto WSAIoctl() { return TWinsockEntry<60, decltype(&::WSAIoctl)>::Pointer.load(); }
} // namespace ws2

} // namespace orbelin
