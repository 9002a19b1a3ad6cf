#pragma once
// Runs a blocking connect on its own thread so that the caller can give up
// after a time-out by closing the socket.

#include <atomic>
#include <string>
#include <thread>

namespace orbelin {

class TNetSocketHandle;

class TNetConnectThread {
public:
    explicit TNetConnectThread(TNetSocketHandle& binding);
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
    std::thread FThread;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FTerminateRequested{false};
    std::string FErrorText;
};

} // namespace orbelin
