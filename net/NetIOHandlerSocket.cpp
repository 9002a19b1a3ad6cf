#include "net/NetIOHandlerSocket.h"

#include "base/PropertyTable.h"
#include "net/NetAntiFreeze.h"
#include "net/NetConnectThread.h"
#include "net/NetException.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace orbelin {

namespace {

constexpr int kConnectSlice = 125;
constexpr int kHookConnectTimeout = 120000;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

} // namespace

TNetIOHandlerSocket::~TNetIOHandlerSocket()
{
    if (FOwnsSocksInfo)
        delete FSocksInfo; // created by SocksInfo() without an owner
    else if (FSocksInfo)
        FSocksInfo->RemoveFreeNotification(this);
    try {
        CloseLink();
    } catch (...) {
        // Nobody to tell about a failing close here.
    }
}

TNetSocksInfo& TNetIOHandlerSocket::SocksInfo()
{
    if (!FSocksInfo) {
        FSocksInfo = new TNetSocksInfo(nullptr); // owned by this handler
        FOwnsSocksInfo = true;
    }
    return *FSocksInfo;
}

void TNetIOHandlerSocket::SetSocksInfo(TNetSocksInfo* info)
{
    if (FOwnsSocksInfo)
        delete FSocksInfo;
    else if (FSocksInfo)
        FSocksInfo->RemoveFreeNotification(this);
    FSocksInfo = info;
    FOwnsSocksInfo = false;
    if (info)
        info->FreeNotification(this);
}

void TNetIOHandlerSocket::Notification(TComponent* component, TOperation operation)
{
    TNetIOHandler::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FSocksInfo && !FOwnsSocksInfo)
        FSocksInfo = nullptr;
}

void TNetIOHandlerSocket::CloseLink()
{
    if (FBinding)
        FBinding->ReleaseHandle();
}

void TNetIOHandlerSocket::OpenLink()
{
    if (FBinding)
        FBinding->ClearBinding(true);
    else
        FBinding = std::make_unique<TNetSocketHandle>();
}

bool TNetIOHandlerSocket::LinkConnected() { return FBinding && FBinding->IsAllocated(); }

void TNetIOHandlerSocket::ConnectLink(const std::string& host, int port, const std::string& boundIP, int boundPort,
                                      int boundPortMin, int boundPortMax, int timeout)
{
    if (!FBinding)
        OpenLink();
    const bool viaSocks = FSocksInfo && FSocksInfo->Version != TSocksVersion::svNoSocks;
    const std::string targetHost = viaSocks ? FSocksInfo->Host : host;
    const int targetPort = viaSocks ? FSocksInfo->Port : port;

    FBinding->AllocateHandle(kSockStream, 0);
    FBinding->IP = boundIP;
    FBinding->Port = boundPort;
    FBinding->ClientPortMin = boundPortMin;
    FBinding->ClientPortMax = boundPortMax;
    FBinding->BindLocal();

    if (!TNetStack::IsIPv4Text(targetHost))
        ReportStatus(TNetStatus::hsResolving, targetHost);
    FBinding->SetPeerAddress(GlobalStack()->ResolveHostToIP(targetHost), targetPort);
    if (!UseNagle) {
        const int32_t on = 1;
        FBinding->SetOption(kIpProtoTcp, kTcpNoDelay, &on, sizeof on);
    }
    ReportStatus(TNetStatus::hsConnecting, FBinding->RemoteIP);

    if (timeout != kTimeoutDefault && timeout != 0)
        ConnectWithTimeout(timeout);
    else if (TNetAntiFreezeBase::ShouldUseHook())
        ConnectWithTimeout(kHookConnectTimeout);
    else
        GlobalStack()->CheckSocketResult(FBinding->ConnectPeer(kAfInet));

    if (FSocksInfo)
        FSocksInfo->MakeSocksConnection(*this, host, port);
}

void TNetIOHandlerSocket::ConnectWithTimeout(int timeout)
{
    // On the idle hook's thread the wait wakes when the connect ends or a
    // message comes; elsewhere it looks every slice.
    const std::unique_ptr<TNetSignal> done =
        TNetAntiFreezeBase::ShouldUseHook() ? GlobalStack()->NewSignal() : nullptr;
    TNetConnectThread thread(*FBinding, done.get());
    thread.Start();
    const int slice =
        TNetAntiFreezeBase::ShouldUseHook() ? std::min(GlobalAntiFreeze()->IdleTimeOut, kConnectSlice) : kConnectSlice;
    // Closing the socket ends the blocked connect; then wait for the thread.
    auto abandon = [&] {
        thread.Terminate();
        CloseLink();
        thread.WaitFor();
    };
    const bool unlimited = timeout == kTimeoutInfinite;
    try {
        if (done) {
            TNetAntiFreezeBase::WaitUntil(*done, timeout, [&] { return thread.Terminated(); });
        } else {
            if (unlimited)
                timeout = slice + 1;
            while (timeout > slice) {
                Sleep(slice);
                timeout = unlimited ? slice + 1 : timeout - slice;
                TNetAntiFreezeBase::RunHook(true, false);
                if (thread.Terminated()) {
                    timeout = 0;
                    break;
                }
            }
            Sleep(timeout);
        }
    } catch (...) {
        // The idle hook gave the wait up (its program is closing): the
        // connect must not outlive it.
        abandon();
        throw;
    }
    if (thread.Terminated()) {
        if (!thread.ErrorText().empty())
            throw ENetConnectException(thread.ErrorText());
        return;
    }
    abandon();
    throw ENetConnectTimeout(SNetConnectTimeout);
}

bool TNetIOHandlerSocket::WaitReadable(int ms)
{
    if (!FBinding)
        throw ENetConnClosedGracefully(SNetConnClosedGracefully);
    return FBinding->WaitReadable(ms);
}

void TNetIOHandlerSocket::CheckLink()
{
    if (!LinkConnected())
        throw ENetClosedSocket(SNetDisconnected);
}

int TNetIOHandlerSocket::ReceiveBytes(void* buffer, int length)
{
    CheckLink();
    return FBinding->ReceiveInto(buffer, length, 0);
}

int TNetIOHandlerSocket::SendBytes(const void* buffer, int length)
{
    CheckLink();
    return FBinding->SendFrom(buffer, length, 0);
}

const TPropertyTable<TComponent>& TNetIOHandlerSocket::Properties() const
{
    static const TPropertyTable<TComponent> table(TNetIOHandler::Properties(), {
        Field("UseNagle", &TNetIOHandlerSocket::UseNagle),
        Part<TNetIOHandlerSocket>("SocksInfo.", [](TNetIOHandlerSocket& h) -> TComponent& { return h.SocksInfo(); }),
    });
    return table;
}

} // namespace orbelin
