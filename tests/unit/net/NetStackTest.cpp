#include "net/NetComponent.h"
#include "net/NetException.h"
#include "net/NetStack.h"

#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <type_traits>

namespace orbelin {
namespace {

// Keeps the stack alive for a test.
struct StackUser {
    TNetComponent Component{nullptr};
    TNetStack& Stack() { return *GlobalStack(); }
};

static_assert(std::is_base_of_v<Exception, ENetException>);
static_assert(std::is_base_of_v<ENetStackError, ENetStackSetSizeExceeded>);
static_assert(std::is_base_of_v<ENetSilentException, ENetConnClosedGracefully>);
static_assert(std::is_base_of_v<ENetTCPConnectionError, ENetNotConnected>);
static_assert(std::is_base_of_v<ENetSocksError, ENetSocksServerTTLExpiredError>);
static_assert(std::is_base_of_v<ENetSocketHandleError, ENetCanNotBindPortInRange>);

struct IPv4Case {
    const char* Text;
    bool IsIPv4;
};

class NetIPv4Text : public testing::TestWithParam<IPv4Case> {};

TEST_P(NetIPv4Text, Recognised)
{
    EXPECT_EQ(TNetStack::IsIPv4Text(GetParam().Text), GetParam().IsIPv4) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NetIPv4Text,
                         testing::Values(IPv4Case{"127.0.0.1", true}, IPv4Case{"001.002.003.004", true},
                                         IPv4Case{"255.255.255.255", true}, IPv4Case{"10.0.0.256", false},
                                         IPv4Case{"1.2.3", false}, IPv4Case{"1.2.3.4.5", false},
                                         IPv4Case{"a.b.c.d", false}, IPv4Case{"1..2.3", false},
                                         IPv4Case{"", false}, IPv4Case{"1.2.3.-4", false},
                                         IPv4Case{"$1.2.3.4", false}, IPv4Case{"1.2.3.4.", false}));

TEST(NetStack, LocalhostInAnyCaseIsLoopbackWithoutLookup)
{
    StackUser user;
    for (const char* name : {"localhost", "LOCALHOST", "LocalHost"})
        EXPECT_EQ(user.Stack().ResolveHostToIP(name), "127.0.0.1");
    EXPECT_EQ(user.Stack().ResolveHostToIP("001.002.003.004"), "001.002.003.004");
}

TEST(NetStack, UnknownHostIsHostNotFound)
{
    StackUser user;
    // The name is not a valid host name, so the resolver refuses it without
    // asking any name server.
    try {
        user.Stack().ResolveHostToIP("no such host.invalid");
        FAIL() << "no exception";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketErrorCode(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
}

TEST(NetStack, SocketErrorTexts)
{
    StackUser user;
    EXPECT_EQ(user.Stack().SocketErrorText(10061), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_EQ(user.Stack().SocketErrorText(10035), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_EQ(user.Stack().SocketErrorText(10066), "Socket Error # 10066\r\nDirectory not empty");
    EXPECT_EQ(user.Stack().SocketErrorText(12345), "Socket Error # 12345\r\n");
    EXPECT_EQ(user.Stack().SocketErrorText(11001), "Socket Error # 11001\r\nHost not found.");
}

TEST(NetStack, CheckSocketResultToleratesOnlyNamedCodes)
{
    StackUser user;
    TNetStack& stack = user.Stack();
    EXPECT_FALSE(stack.CheckSocketResult(0));
    EXPECT_FALSE(stack.CheckSocketResult(5));
    // A connect to a port nobody listens on leaves 10061 as the last error.
    const TNetSocketId s = stack.NewSocketHandle(kSockStream, 0);
    const int result = stack.SockConnect(s, kAfInet, "127.0.0.1", test::UnusedPort());
    EXPECT_TRUE(stack.CheckSocketResult(result, {10061}));
    EXPECT_EQ(stack.LastErrorCode, 10061);
    try {
        stack.CheckSocketResult(result);
        FAIL() << "no exception";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketErrorCode(), 10061);
    }
    stack.SockClose(s);
}

TEST(NetStack, AddressConversions)
{
    StackUser user;
    TNetStack& stack = user.Stack();
    const std::array<uint8_t, 4> address = stack.TextToAddress("192.168.1.300");
    EXPECT_EQ(address, (std::array<uint8_t, 4>{192, 168, 1, 44})); // the low byte of 300
    EXPECT_EQ(stack.AddressToText({10, 0, 255, 1}), "10.0.255.1");
    EXPECT_THROW(stack.TextToAddress("1.x.3.4"), EConvertError);
    const uint32_t loopback = stack.ParseIPv4("127.0.0.1");
    EXPECT_EQ(stack.NetToHost32(loopback), 0x7F000001u);
    EXPECT_EQ(stack.NetToHost16(stack.HostToNet16(0x1234)), 0x1234);
}

TEST(NetStack, ServicePortReadsNamesAndNumbers)
{
    StackUser user;
    EXPECT_EQ(user.Stack().ServicePort("8080"), 8080);
    try {
        user.Stack().ServicePort("no-such-service-name");
        FAIL() << "no exception";
    } catch (const ENetInvalidServiceName& e) {
        EXPECT_EQ(e.Message(), "no-such-service-name is not a valid service.");
    }
}

TEST(NetSocketList, HoldsAtMost64)
{
    TNetSocketList list;
    for (int i = 0; i < 64; ++i)
        list.Add(i + 100);
    try {
        list.Add(1);
        FAIL() << "no exception";
    } catch (const ENetStackSetSizeExceeded& e) {
        EXPECT_EQ(e.Message(), "Set Size Exceeded.");
    }
    EXPECT_THROW(list.Item(64), ENetStackSetSizeExceeded);
    EXPECT_THROW(list.Item(-1), ENetStackSetSizeExceeded);
    list.Remove(100);
    EXPECT_EQ(list.Count(), 63);
    EXPECT_EQ(list.Item(0), 163); // the last entry fills the gap
}

TEST(NetStack, SelectPollsAndKeepsOnlyReadySockets)
{
    StackUser user;
    TNetStack& stack = user.Stack();
    test::TTestServer server;
    server.Serve(test::Script().Send("x").ReceiveToClose());
    // A listener nobody connects to never becomes readable.
    const TNetSocketId quiet = stack.NewSocketHandle(kSockStream, 0);
    ASSERT_EQ(stack.SockBind(quiet, kAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(stack.SockListen(quiet, 1), 0);
    const TNetSocketId s = stack.NewSocketHandle(kSockStream, 0);
    ASSERT_EQ(stack.SockConnect(s, kAfInet, "127.0.0.1", server.Port()), 0) << stack.LastSocketError();

    TNetSocketList none;
    none.Add(quiet);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(stack.SockSelect(&none, nullptr, nullptr, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(none.Count(), 0);

    TNetSocketList both;
    both.Add(quiet);
    both.Add(s);
    EXPECT_EQ(stack.SockSelect(&both, nullptr, nullptr, kTimeoutInfinite), 1);
    ASSERT_EQ(both.Count(), 1);
    EXPECT_EQ(both.Item(0), s);
    stack.SockClose(s);
    stack.SockClose(quiet);
}

// ---- process-wide stack ----

int gCreated = 0;
std::unique_ptr<TNetStack> CountingStack()
{
    ++gCreated;
    return CreatePlatformStack();
}

TEST(NetComponent, StackLivesFromFirstToLastComponentInAnyOrder)
{
    ASSERT_EQ(GlobalStack(), nullptr);
    const TNetStackFactory saved = StackClass;
    StackClass = &CountingStack;
    gCreated = 0;
    {
        auto a = std::make_unique<TNetComponent>(nullptr);
        TNetStack* first = GlobalStack();
        ASSERT_NE(first, nullptr);
        auto b = std::make_unique<TNetComponent>(nullptr);
        a.reset(); // the first one goes first
        EXPECT_EQ(GlobalStack(), first);
        auto c = std::make_unique<TNetComponent>(nullptr);
        b.reset();
        EXPECT_EQ(GlobalStack(), first);
        EXPECT_EQ(StackUserCount(), 1);
        c.reset();
        EXPECT_EQ(GlobalStack(), nullptr);
    }
    EXPECT_EQ(gCreated, 1);
    {
        TComponent owner(nullptr);
        new TNetComponent(&owner); // owned
        new TNetComponent(&owner); // owned
        EXPECT_EQ(StackUserCount(), 2);
    }
    EXPECT_EQ(GlobalStack(), nullptr);
    EXPECT_EQ(gCreated, 2);
    StackClass = saved;
}

TEST(NetComponent, WorkEventsNest)
{
    TNetComponent component(nullptr);
    std::vector<std::string> events;
    component.OnWorkBegin = [&](TObject*, TWorkMode, int64_t max) { events.push_back("begin " + std::to_string(max)); };
    component.OnWork = [&](TObject*, TWorkMode, int64_t n) { events.push_back("work " + std::to_string(n)); };
    component.OnWorkEnd = [&](TObject*, TWorkMode) { events.push_back("end"); };
    component.WorkProgress(TWorkMode::wmRead, 5); // not begun: nothing
    component.WorkBegin(TWorkMode::wmRead, 100);
    component.WorkBegin(TWorkMode::wmRead, 7); // nested: no event
    component.WorkProgress(TWorkMode::wmRead, 10);
    component.WorkProgress(TWorkMode::wmWrite, 3); // other mode not begun
    component.WorkEnd(TWorkMode::wmRead);
    component.WorkProgress(TWorkMode::wmRead, 5);
    component.WorkEnd(TWorkMode::wmRead);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 100", "work 10", "work 15", "end"}));
}

TEST(NetComponent, StatusTexts)
{
    TNetComponent component(nullptr);
    std::vector<std::string> texts;
    component.ReportStatus(TNetStatus::hsConnected); // no handler: nothing happens
    component.OnStatus = [&](TObject*, TNetStatus, const std::string& text) { texts.push_back(text); };
    component.ReportStatus(TNetStatus::hsResolving, "example.com");
    component.ReportStatus(TNetStatus::hsConnecting, "127.0.0.1");
    component.ReportStatus(TNetStatus::hsConnected, "example.com");
    component.ReportStatus(TNetStatus::hsDisconnecting);
    component.ReportStatus(TNetStatus::hsDisconnected);
    component.ReportStatus(TNetStatus::hsStatusText, "free text");
    EXPECT_EQ(texts, (std::vector<std::string>{"Resolving hostname example.com.", "Connecting to 127.0.0.1.",
                                               "Connected.", "Disconnecting.", "Disconnected.", "free text"}));
}

} // namespace
} // namespace orbelin
