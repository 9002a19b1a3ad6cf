#include "tests/support/TestServer.h"

#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace orbelin::test {

namespace {

#ifdef _WIN32
using TSock = SOCKET;
void CloseSocket(intptr_t s) { closesocket(static_cast<TSock>(s)); }
struct TWinsockUser {
    TWinsockUser()
    {
        WSADATA data;
        WSAStartup(0x0202, &data);
    }
};
void EnsureSockets() { static TWinsockUser user; }
#else
using TSock = int;
void CloseSocket(intptr_t s) { close(static_cast<TSock>(s)); }
void EnsureSockets() {}
#endif

TSock Sock(intptr_t s) { return static_cast<TSock>(s); }

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

intptr_t Listen(int backlog, int& port)
{
    EnsureSockets();
    const TSock s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, backlog) != 0)
        throw std::runtime_error("test server cannot listen");
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return static_cast<intptr_t>(s);
}

} // namespace

// ---- script ----

Script& Script::Send(std::string bytes)
{
    FSteps.push_back({TScriptStep::TKind::Send, std::move(bytes), 0});
    return *this;
}

Script& Script::Delay(int ms)
{
    FSteps.push_back({TScriptStep::TKind::Delay, {}, ms});
    return *this;
}

Script& Script::ReceiveUntil(std::string text)
{
    FSteps.push_back({TScriptStep::TKind::ReceiveUntil, std::move(text), 0});
    return *this;
}

Script& Script::ReceiveCount(int64_t count)
{
    FSteps.push_back({TScriptStep::TKind::ReceiveCount, {}, count});
    return *this;
}

Script& Script::ReceiveToClose()
{
    FSteps.push_back({TScriptStep::TKind::ReceiveToClose, {}, 0});
    return *this;
}

Script& Script::Close()
{
    FSteps.push_back({TScriptStep::TKind::Close, {}, 0});
    return *this;
}

Script& Script::Reset()
{
    FSteps.push_back({TScriptStep::TKind::Reset, {}, 0});
    return *this;
}

// ---- peer ----

TTestPeer::~TTestPeer() { Close(); }

void TTestPeer::Send(const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = static_cast<int>(::send(Sock(FSocket), bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0));
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

int TTestPeer::ReceiveSome()
{
    if (FSocket == -1)
        return 0;
    char buffer[65536];
    const int n = static_cast<int>(::recv(Sock(FSocket), buffer, sizeof buffer, 0));
    if (n > 0)
        FReceived.append(buffer, static_cast<size_t>(n));
    return n;
}

bool TTestPeer::ReceiveUntil(const std::string& text)
{
    while (FReceived.find(text) == std::string::npos)
        if (ReceiveSome() <= 0)
            return false;
    return true;
}

void TTestPeer::ReceiveCount(int64_t count)
{
    const size_t target = FReceived.size() + static_cast<size_t>(count);
    while (FReceived.size() < target)
        if (ReceiveSome() <= 0)
            return;
}

void TTestPeer::ReceiveToClose()
{
    while (ReceiveSome() > 0) {
    }
}

int64_t TTestPeer::DiscardToClose()
{
    int64_t total = 0;
    char buffer[65536];
    for (;;) {
        const int n = static_cast<int>(::recv(Sock(FSocket), buffer, sizeof buffer, 0));
        if (n <= 0)
            return total;
        total += n;
    }
}

void TTestPeer::Close()
{
    if (FSocket == -1)
        return;
    CloseSocket(FSocket);
    FSocket = -1;
}

void TTestPeer::Reset()
{
    if (FSocket == -1)
        return;
    linger option{1, 0};
    setsockopt(Sock(FSocket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option), sizeof option);
    Close();
}

void TTestPeer::Play(const Script& script)
{
    for (const TScriptStep& step : script.Steps()) {
        switch (step.Kind) {
        case TScriptStep::TKind::Send: Send(step.Bytes); break;
        case TScriptStep::TKind::Delay: Delay(static_cast<int>(step.Count)); break;
        case TScriptStep::TKind::ReceiveUntil: ReceiveUntil(step.Bytes); break;
        case TScriptStep::TKind::ReceiveCount: ReceiveCount(step.Count); break;
        case TScriptStep::TKind::ReceiveToClose: ReceiveToClose(); break;
        case TScriptStep::TKind::Close: Close(); break;
        case TScriptStep::TKind::Reset: Reset(); break;
        }
    }
}

// ---- server ----

TTestServer::TTestServer(int backlog) { FListener = Listen(backlog, FPort); }

TTestServer::~TTestServer()
{
    // Wakes an accept that will never be answered, then waits for the thread.
    StopListening();
    Wait();
}

void TTestServer::Serve(const Script& script, int connections)
{
    Serve([script](TTestPeer& peer) { peer.Play(script); }, connections);
}

void TTestServer::Serve(TPeerHandler handler, int connections)
{
    Run(std::vector<TPeerHandler>(static_cast<size_t>(connections), handler));
}

void TTestServer::Serve(std::vector<Script> scripts)
{
    std::vector<TPeerHandler> handlers;
    for (Script& s : scripts)
        handlers.push_back([s](TTestPeer& peer) { peer.Play(s); });
    Run(std::move(handlers));
}

void TTestServer::Run(std::vector<TPeerHandler> handlers)
{
    Wait();
    FThread = std::thread([this, handlers = std::move(handlers)] {
        for (const TPeerHandler& handler : handlers) {
            const TSock s = ::accept(Sock(FListener), nullptr, nullptr);
            if (s == static_cast<TSock>(-1))
                return;
            TTestPeer peer(static_cast<intptr_t>(s));
            handler(peer);
            std::lock_guard guard(FLock);
            FReceived.push_back(peer.Received());
        }
    });
}

void TTestServer::Wait()
{
    if (FThread.joinable())
        FThread.join();
}

void TTestServer::StopListening()
{
    if (FListener == -1)
        return;
#ifdef _WIN32
    shutdown(Sock(FListener), SD_BOTH);
#else
    shutdown(Sock(FListener), SHUT_RDWR);
#endif
    CloseSocket(FListener);
    FListener = -1;
}

std::string TTestServer::Received(size_t index) const
{
    std::lock_guard guard(FLock);
    return index < FReceived.size() ? FReceived[index] : std::string();
}

size_t TTestServer::Accepted() const
{
    std::lock_guard guard(FLock);
    return FReceived.size();
}

// ---- idle listener ----

TIdleListener::TIdleListener(int backlog) { FListener = Listen(backlog, FPort); }

TIdleListener::~TIdleListener()
{
    for (intptr_t c : FClients)
        CloseSocket(c);
    CloseSocket(FListener);
}

void TIdleListener::FillQueue(int connections)
{
    for (int i = 0; i < connections; ++i) {
        const TSock s = socket(AF_INET, SOCK_STREAM, 0);
        // Non-blocking: once the queue is full a connect would hang.
#ifdef _WIN32
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
#else
        fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
        sockaddr_in address = Loopback(FPort);
        ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        FClients.push_back(static_cast<intptr_t>(s));
    }
}

int UnusedPort()
{
    int port = 0;
    const intptr_t s = Listen(1, port);
    CloseSocket(s);
    return port;
}

} // namespace orbelin::test
