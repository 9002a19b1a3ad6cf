#include "net/NetConnectThread.h"

#include "net/NetSocketHandle.h"

#include <exception>

namespace orbelin {

TNetConnectThread::TNetConnectThread(TNetSocketHandle& binding, TNetSignal* done) : FBinding(binding), FDone(done) {}

TNetConnectThread::~TNetConnectThread() { WaitFor(); }

void TNetConnectThread::Start() { FThread = std::thread([this] { Execute(); }); }

void TNetConnectThread::WaitFor()
{
    if (FThread.joinable())
        FThread.join();
}

void TNetConnectThread::Execute()
{
    try {
        // Bad-handle codes arise when the waiting side closed the socket.
        GlobalStack()->CheckSocketResult(FBinding.ConnectPeer(kAfInet), {WSAEBADF_, WSAENOTSOCK_});
    } catch (const std::exception& e) {
        FErrorText = e.what();
        if (FErrorText.empty())
            FErrorText = "Connect failed.";
    }
    FTerminated = true;
    if (FDone)
        FDone->Set();
}

} // namespace orbelin
