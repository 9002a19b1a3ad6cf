#pragma once
// A scripted TCP server for tests: listens on 127.0.0.1 (an ephemeral port),
// accepts connections on its own thread and plays a script on each of them:
// send byte chunks, wait, receive until a text or a count, close or reset.
// Everything each connection received is recorded. It uses the platform's
// sockets directly, independent of the transport under test.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orbelin::test {

class TTestPeer;

struct TScriptStep {
    enum class TKind { Send, Delay, ReceiveUntil, ReceiveCount, ReceiveToClose, Close, Reset };
    TKind Kind;
    std::string Bytes; // Send: the bytes; ReceiveUntil: the text awaited
    int64_t Count = 0; // Delay: ms; ReceiveCount: bytes
};

// A script built step by step: Script().Send("a").Delay(50).Send("b").Close().
class Script {
public:
    Script& Send(std::string bytes);
    Script& Delay(int ms);
    Script& ReceiveUntil(std::string text);
    Script& ReceiveCount(int64_t count);
    Script& ReceiveToClose();
    Script& Close();
    Script& Reset(); // close with an RST instead of a FIN
    const std::vector<TScriptStep>& Steps() const { return FSteps; }

private:
    std::vector<TScriptStep> FSteps;
};

using TPeerHandler = std::function<void(TTestPeer& peer)>;

class TTestServer {
public:
    // backlog is the listen queue length.
    explicit TTestServer(int backlog = 16);
    ~TTestServer();
    TTestServer(const TTestServer&) = delete;
    TTestServer& operator=(const TTestServer&) = delete;

    int Port() const { return FPort; }

    // Accepts `connections` connections one after another and runs the script
    // (or handler) on each; the connection is closed when it ends.
    void Serve(const Script& script, int connections = 1);
    void Serve(TPeerHandler handler, int connections = 1);
    // Runs one script per connection, in order.
    void Serve(std::vector<Script> scripts);
    // Waits for the serving thread to finish.
    void Wait();
    // Stops listening: later connects are refused.
    void StopListening();

    // Bytes received on connection index (0-based), after Wait().
    std::string Received(size_t index = 0) const;
    size_t Accepted() const;

private:
    void Run(std::vector<TPeerHandler> handlers);

    intptr_t FListener = -1;
    int FPort = 0;
    std::thread FThread;
    mutable std::mutex FLock;
    std::vector<std::string> FReceived;
};

// One accepted connection, as a handler sees it.
class TTestPeer {
public:
    explicit TTestPeer(intptr_t socket) : FSocket(socket) {}
    ~TTestPeer();

    void Send(const std::string& bytes);
    void Delay(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // Receives until text has arrived (or the peer closes); true when found.
    bool ReceiveUntil(const std::string& text);
    // Receives until count more bytes arrived (or the peer closes).
    void ReceiveCount(int64_t count);
    // Receives until the peer closes.
    void ReceiveToClose();
    // Discards what arrives until the peer closes, keeping only the count.
    int64_t DiscardToClose();
    void Close();
    void Reset();
    void Play(const Script& script);

    const std::string& Received() const { return FReceived; }

private:
    int ReceiveSome();

    intptr_t FSocket;
    std::string FReceived;
};

// Opens a plain listening socket on 127.0.0.1 that never accepts; for
// connect time-outs and refused connections. Closed on destruction.
class TIdleListener {
public:
    explicit TIdleListener(int backlog);
    ~TIdleListener();
    int Port() const { return FPort; }
    // Fills the accept queue with plain client connections.
    void FillQueue(int connections);

private:
    intptr_t FListener = -1;
    int FPort = 0;
    std::vector<intptr_t> FClients;
};

// A port on 127.0.0.1 with nothing listening (best effort).
int UnusedPort();

} // namespace orbelin::test
