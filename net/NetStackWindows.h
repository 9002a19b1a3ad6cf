#pragma once
// The socket stack over Winsock 2, loaded at run time from "WS2_32.DLL".
// Its entry points are bound by name on first use (see NetWinSock2).

#include "net/NetStack.h"

namespace orbelin {

class TNetStackWindows : public TNetStack {
public:
    TNetStackWindows();
    void FillLocalAddresses() override;
    TNetSocketId SockAccept(TNetSocketId socket, std::string& ip, int& port) override;
    int SockBind(TNetSocketId socket, int family, const std::string& ip, int port) override;
    int SockClose(TNetSocketId socket) override;
    int SockConnect(TNetSocketId socket, int family, const std::string& ip, int port) override;
    std::string HostToAddress(const std::string& host) override;
    std::string OwnHostName() override;
    std::string AddressToHost(const std::string& ip) override;
    int ServicePort(const std::string& service) override;
    std::unique_ptr<TStringList> ServiceNames(int port) override;
    uint16_t HostToNet16(uint16_t value) override;
    int SockListen(TNetSocketId socket, int backlog) override;
    uint16_t NetToHost16(uint16_t value) override;
    uint32_t HostToNet32(uint32_t value) override;
    uint32_t NetToHost32(uint32_t value) override;
    int SockRecv(TNetSocketId socket, void* buffer, int length, int flags) override;
    int SockRecvFrom(TNetSocketId socket, void* buffer, int length, int flags, std::string& ip, int& port) override;
    int SockSelect(TNetSocketList* read, TNetSocketList* write, TNetSocketList* error, int ms) override;
    int SockSend(TNetSocketId socket, const void* buffer, int length, int flags) override;
    int SockSendTo(TNetSocketId socket, const void* buffer, int length, int flags, const std::string& ip,
                   int port) override;
    int SockSetOption(TNetSocketId socket, int level, int option, const void* value, int length) override;
    TNetSocketId SockOpen(int family, int type, int protocol) override;
    int SockShutdown(TNetSocketId socket, int how) override;
    std::string SocketErrorText(int code) override;
    int LastSocketError() override;
    void SockPeerName(TNetSocketId socket, int& family, std::string& ip, int& port) override;
    void SockLocalName(TNetSocketId socket, int& family, std::string& ip, int& port) override;
    int SockGetOption(TNetSocketId socket, int level, int option, void* value, int& length) override;
    std::unique_ptr<TNetSignal> NewSignal() override;
    bool SockWatch(TNetSocketId socket, int events, TNetSignal& signal) override;
    void SockUnwatch(TNetSocketId socket) override;
};

} // namespace orbelin
