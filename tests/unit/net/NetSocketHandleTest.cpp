#include "base/Exceptions.h"
#include "net/NetAntiFreeze.h"
#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"
#include "net/NetSocketHandle.h"

#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace orbelin {
namespace {

using namespace std::chrono;

struct StackUser {
    TNetComponent Component{nullptr};
};

// Holds loopback sockets bound to the given ports.
class PortBlocker {
public:
    bool Block(int port)
    {
        auto handle = std::make_unique<TNetSocketHandle>();
        handle->AllocateHandle();
        handle->IP = "127.0.0.1";
        handle->Port = port;
        if (!handle->TryBindOnce())
            return false;
        FHandles.push_back(std::move(handle));
        return true;
    }

private:
    std::vector<std::unique_ptr<TNetSocketHandle>> FHandles;
};

// A base port whose next three ports could all be bound just now.
int FreeRangeBase()
{
    std::mt19937 random(static_cast<unsigned>(steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int base = 20000 + static_cast<int>(random() % 30000);
        PortBlocker probe;
        if (probe.Block(base) && probe.Block(base + 1) && probe.Block(base + 2))
            return base;
    }
    return 0;
}

TEST(NetSocketHandle, AnyPortBindLearnsItsEphemeralPort)
{
    StackUser user;
    TNetSocketHandle handle;
    handle.AllocateHandle();
    EXPECT_TRUE(handle.IsAllocated());
    handle.BindLocal();
    EXPECT_NE(handle.Port, 0);
    EXPECT_EQ(handle.IP, "0.0.0.0");
}

// The port a fresh handle binds to on 127.0.0.1 within low..high.
int PortBoundInRange(int low, int high)
{
    TNetSocketHandle handle;
    handle.AllocateHandle();
    handle.IP = "127.0.0.1";
    handle.ClientPortMin = low;
    handle.ClientPortMax = high;
    handle.BindLocal();
    return handle.Port;
}

TEST(NetSocketHandle, PortRangeIsTriedFromTheTopDown)
{
    StackUser user;
    const int base = FreeRangeBase();
    ASSERT_NE(base, 0);
    {
        PortBlocker busy;
        ASSERT_TRUE(busy.Block(base + 2));
        ASSERT_TRUE(busy.Block(base + 1));
        EXPECT_EQ(PortBoundInRange(base, base + 2), base);
    }
    EXPECT_EQ(PortBoundInRange(base, base + 2), base + 2);
}

TEST(NetSocketHandle, WholeRangeBusyRaisesWithTheRange)
{
    StackUser user;
    const int base = FreeRangeBase();
    ASSERT_NE(base, 0);
    PortBlocker busy;
    ASSERT_TRUE(busy.Block(base) && busy.Block(base + 1) && busy.Block(base + 2));
    TNetSocketHandle handle;
    handle.AllocateHandle();
    handle.IP = "127.0.0.1";
    handle.ClientPortMin = base;
    handle.ClientPortMax = base + 2;
    try {
        handle.BindLocal();
        FAIL() << "no exception";
    } catch (const ENetCanNotBindPortInRange& e) {
        EXPECT_EQ(e.Message(), "Can not bind in port range (" + std::to_string(base) + " - " +
                                   std::to_string(base + 2) + ")");
    }
    EXPECT_EQ(handle.Port, base);
}

TEST(NetSocketHandle, InvertedRangeAndBusyFixedPort)
{
    StackUser user;
    TNetSocketHandle handle;
    handle.AllocateHandle();
    handle.ClientPortMin = 6000;
    handle.ClientPortMax = 5000;
    try {
        handle.BindLocal();
        FAIL() << "no exception";
    } catch (const ENetInvalidPortRange& e) {
        EXPECT_EQ(e.Message(), "Invalid Port Range (6000 - 5000)");
    }
    const int base = FreeRangeBase();
    PortBlocker busy;
    ASSERT_TRUE(busy.Block(base));
    TNetSocketHandle fixed;
    fixed.AllocateHandle();
    fixed.IP = "127.0.0.1";
    fixed.Port = base;
    fixed.ClientPortMin = 1; // ignored: a fixed port wins
    fixed.ClientPortMax = 2;
    try {
        fixed.BindLocal();
        FAIL() << "no exception";
    } catch (const ENetCouldNotBindSocket& e) {
        EXPECT_EQ(e.Message(), "Could not bind socket. Address and port are already in use.");
    }
}

TEST(NetSocketHandle, WaitOnReleasedSocketIsGracefulClose)
{
    StackUser user;
    TNetSocketHandle handle;
    handle.AllocateHandle();
    handle.ReleaseHandle();
    EXPECT_FALSE(handle.IsAllocated());
    EXPECT_THROW(handle.WaitReadable(10), ENetConnClosedGracefully);
    handle.ReleaseHandle(); // twice is harmless
}

TEST(NetSocketHandle, AcceptFromRecordsBothAddresses)
{
    StackUser user;
    TNetSocketHandle listener;
    listener.AllocateHandle();
    listener.IP = "127.0.0.1";
    listener.BindLocal();
    GlobalStack()->SockListen(listener.SocketId(), 1);
    TNetSocketHandle client;
    client.AllocateHandle();
    client.SetPeerAddress("127.0.0.1", listener.Port);
    ASSERT_EQ(client.ConnectPeer(), 0);
    TNetSocketHandle accepted;
    ASSERT_TRUE(accepted.AcceptFrom(listener.SocketId()));
    EXPECT_TRUE(accepted.IsAllocated());
    EXPECT_EQ(accepted.Port, listener.Port);
    EXPECT_EQ(accepted.RemotePort, client.Port);
    EXPECT_EQ(client.RemotePort, listener.Port);
}

TEST(NetIOHandlerSocket, ReceiveOrSendWithoutSocketIsDisconnected)
{
    TNetIOHandlerSocket handler(nullptr);
    char byte = 0;
    for (int pass = 0; pass < 2; ++pass) {
        try {
            handler.ReceiveBytes(&byte, 1);
            FAIL() << "no exception";
        } catch (const ENetClosedSocket& e) {
            EXPECT_EQ(e.Message(), "Disconnected.");
        }
        EXPECT_THROW(handler.SendBytes(&byte, 1), ENetClosedSocket);
        handler.OpenLink(); // a binding without a socket behaves the same
    }
}

TEST(NetIOHandlerSocket, ConnectReportsAndHonoursNagleSetting)
{
    test::TTestServer server;
    server.Serve(test::Script().Send("hi").ReceiveToClose());
    TNetIOHandlerSocket handler(nullptr);
    std::vector<std::string> texts;
    handler.OnStatus = [&](TObject*, TNetStatus, const std::string& text) { texts.push_back(text); };
    handler.UseNagle = false;
    handler.OpenLink();
    handler.ConnectLink("localhost", server.Port(), "", 0, 0, 0, -1);
    ASSERT_TRUE(handler.LinkConnected());
    EXPECT_EQ(texts, (std::vector<std::string>{"Resolving hostname localhost.", "Connecting to 127.0.0.1."}));
    int value = 0, length = sizeof value;
    GlobalStack()->SockGetOption(handler.SocketBinding()->SocketId(), kIpProtoTcp, kTcpNoDelay, &value, length);
    EXPECT_NE(value, 0);
    EXPECT_TRUE(handler.WaitReadable(5000));
    char buffer[8];
    EXPECT_EQ(handler.ReceiveBytes(buffer, sizeof buffer), 2);
    handler.CloseLink();
    EXPECT_FALSE(handler.LinkConnected());
}

TEST(NetIOHandlerSocket, RefusedConnectionIsSocketError)
{
    TNetIOHandlerSocket handler(nullptr);
    handler.OpenLink();
    try {
        handler.ConnectLink("127.0.0.1", test::UnusedPort(), "", 0, 0, 0, -1);
        FAIL() << "no exception";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketErrorCode(), 10061);
        EXPECT_EQ(e.Message(), "Socket Error # 10061\r\nConnection refused.");
    }
}

TEST(NetIOHandlerSocket, ConnectWithTimeoutSucceedsAndReportsRefusal)
{
    test::TTestServer server;
    server.Serve(test::Script().Send("ok"));
    TNetIOHandlerSocket handler(nullptr);
    handler.OpenLink();
    handler.ConnectLink("127.0.0.1", server.Port(), "", 0, 0, 0, 5000);
    EXPECT_TRUE(handler.LinkConnected());
    handler.CloseLink();
    handler.OpenLink();
    try {
        handler.ConnectLink("127.0.0.1", test::UnusedPort(), "", 0, 0, 0, 5000);
        FAIL() << "no exception";
    } catch (const ENetConnectException& e) {
        EXPECT_EQ(e.Message(), "Socket Error # 10061\r\nConnection refused.");
    }
}

TEST(NetIOHandlerSocket, ConnectToFullAcceptQueueTimesOut)
{
    test::TIdleListener listener(0);
    listener.FillQueue(8); // nobody accepts: later connects stay pending
    TNetIOHandlerSocket handler(nullptr);
    handler.OpenLink();
    const auto start = steady_clock::now();
    try {
        handler.ConnectLink("127.0.0.1", listener.Port(), "", 0, 0, 0, 1000);
        FAIL() << "connected although the queue was full";
    } catch (const ENetConnectTimeout& e) {
        EXPECT_EQ(e.Message(), "Connect timed out.");
    }
    EXPECT_GE(steady_clock::now() - start, milliseconds(900));
    EXPECT_FALSE(handler.LinkConnected());
}

class CountingHook : public TNetAntiFreezeBase {
public:
    using TNetAntiFreezeBase::TNetAntiFreezeBase;
    void PumpMessages() override { ++Pumped; }
    int Pumped = 0;
};

// Gives the wait up at its third pump, as the program's hook does once the
// program is closing.
class GivingUpHook : public TNetAntiFreezeBase {
public:
    using TNetAntiFreezeBase::TNetAntiFreezeBase;
    void PumpMessages() override
    {
        if (++Pumped == 3)
            throw EAbort("");
    }
    int Pumped = 0;
};

TEST(NetAntiFreeze, AHookThatGivesUpEndsAPendingConnectAtOnce)
{
    SetMainThreadToCurrent();
    test::TIdleListener listener(0);
    listener.FillQueue(8); // nobody accepts: the connect stays pending
    GivingUpHook hook(nullptr);
    TNetIOHandlerSocket handler(nullptr);
    handler.OpenLink();
    const auto start = steady_clock::now();
    EXPECT_THROW(handler.ConnectLink("127.0.0.1", listener.Port(), "", 0, 0, 0, 60000), EAbort);
    // A connect left to itself holds the caller until the system gives it up.
    EXPECT_LT(steady_clock::now() - start, seconds(10));
    EXPECT_EQ(hook.Pumped, 3);
    EXPECT_FALSE(handler.LinkConnected());
}

// On the hook's thread a send that finds the peer's buffers full waits for
// room taking the hook's turns, instead of blocking the thread in the send.
TEST(NetAntiFreeze, ASendIntoFullBuffersLetsTheHookRunUntilThereIsRoom)
{
    SetMainThreadToCurrent();
    StackUser user;
    if (!GlobalStack()->NewSignal())
        GTEST_SKIP() << "this platform's waits look at the hook every IdleTimeOut";
    const std::string data(8 << 20, 'x');
    std::atomic<int64_t> received = 0;
    test::TTestServer server;
    server.Serve([&](test::TTestPeer& peer) {
        peer.Delay(600);
        received = peer.DiscardToClose();
    });
    CountingHook hook(nullptr);
    hook.IdleTimeOut = 50;
    TNetIOHandlerSocket handler(nullptr);
    handler.OpenLink();
    handler.ConnectLink("127.0.0.1", server.Port(), "", 0, 0, 0, 5000);
    for (size_t sent = 0; sent < data.size();) {
        const int n = handler.SendBytes(data.data() + sent, static_cast<int>(data.size() - sent));
        ASSERT_GT(n, 0);
        sent += static_cast<size_t>(n);
    }
    EXPECT_GE(hook.Pumped, 3) << "the hook did not run while the send waited";
    handler.CloseLink();
    server.Wait();
    EXPECT_EQ(received, static_cast<int64_t>(data.size())) << "every byte arrived";
}

TEST(NetAntiFreeze, OneInstanceAndMainThreadOnly)
{
    SetMainThreadToCurrent();
    EXPECT_FALSE(TNetAntiFreezeBase::ShouldUseHook());
    {
        CountingHook hook(nullptr);
        try {
            CountingHook second(nullptr);
            FAIL() << "no exception";
        } catch (const ENetException& e) {
            EXPECT_EQ(e.Message(), "Only one TNetAntiFreeze can exist per application.");
        }
        EXPECT_EQ(GlobalAntiFreeze(), &hook);
        EXPECT_TRUE(TNetAntiFreezeBase::ShouldUseHook());
        TNetAntiFreezeBase::RunHook(false, false); // busy and only when idle
        EXPECT_EQ(hook.Pumped, 0);
        TNetAntiFreezeBase::RunHook(true, false);
        TNetAntiFreezeBase::RunHook(false, true);
        EXPECT_EQ(hook.Pumped, 2);
        bool otherThread = true;
        std::thread([&] { otherThread = TNetAntiFreezeBase::ShouldUseHook(); }).join();
        EXPECT_FALSE(otherThread);
        hook.Active = false;
        EXPECT_FALSE(TNetAntiFreezeBase::ShouldUseHook());
    }
    EXPECT_EQ(GlobalAntiFreeze(), nullptr);
}

} // namespace
} // namespace orbelin
