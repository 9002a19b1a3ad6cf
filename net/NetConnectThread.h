#pragma once
// Runs a blocking connect on its own thread so that the caller can give up
// after a time-out by closing the socket.

#include <atomic>
#include <string>
#include <thread>

namespace orbelin {

class TNetSignal;
class TNetSocketHandle;

class TNetConnectThread {
public:
    // done, when given, is set once the thread has terminated.
    explicit TNetConnectThread(TNetSocketHandle& binding, TNetSignal* done = nullptr);
    ~TNetConnectThread();
    TNetConnectThread(const TNetConnectThread&) = delete;
    TNetConnectThread& operator=(const TNetConnectThread&) = delete;

    void Start();
    bool Terminated() const { return FTerminated.load(); }
    void Terminate() { FTerminateRequested = true; }
    void WaitFor();
    // Empty unless the connect failed; read only after Terminated().
    const std::string& ErrorText() const { return FErrorText; }

private:
    void Execute();

    TNetSocketHandle& FBinding;
    TNetSignal* FDone;
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FTerminateRequested{false};
    std::string FErrorText;
};

} // namespace orbelin
