#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"
#include "net/NetTCPClient.h"

#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <functional>

namespace orbelin {
namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// A client that reaches "target.example":8080 (or an IPv4 text for SOCKS 4)
// through the test server acting as SOCKS server.
struct SocksClient {
    explicit SocksClient(int serverPort, TSocksVersion version, std::string host = "target.example")
    {
        client.SetIOHandler(&handler);
        handler.SocksInfo().Version = version;
        handler.SocksInfo().Host = "127.0.0.1";
        handler.SocksInfo().Port = serverPort;
        client.SetHost(std::move(host));
        client.SetPort(8080);
    }
    TNetIOHandlerSocket handler{nullptr};
    TNetTCPClient client{nullptr};
};

TEST(NetSocks4, ConnectRequestAndSuccess)
{
    test::TTestServer server;
    server.Serve(test::Script().ReceiveUntil(std::string(1, '\0')).Send(Bytes({0, 90, 0, 0, 0, 0, 0, 0})).Send(
        "hello\r\n"));
    SocksClient s(server.Port(), TSocksVersion::svSocks4, "10.1.2.3");
    s.handler.SocksInfo().Username = "joe";
    s.client.OpenConnection();
    EXPECT_EQ(s.client.ReadLine(), "hello");
    s.client.CloseConnection();
    server.Wait();
    EXPECT_EQ(server.Received(), Bytes({4, 1, 0x1F, 0x90, 10, 1, 2, 3}) + "joe" + Bytes({0}));
}

TEST(NetSocks4A, SendsTheHostName)
{
    test::TTestServer server;
    server.Serve(test::Script().ReceiveUntil("example" + std::string(1, '\0')).Send(Bytes({0, 90, 0, 0, 0, 0, 0, 0})));
    SocksClient s(server.Port(), TSocksVersion::svSocks4A);
    s.client.OpenConnection();
    s.client.CloseConnection();
    server.Wait();
    EXPECT_EQ(server.Received(), Bytes({4, 1, 0x1F, 0x90, 0, 0, 0, 1, 0}) + "target.example" + Bytes({0}));
}

struct ReplyCase {
    int Code;
    const char* Message;
    std::function<bool(const ENetSocksError&)> IsRightClass;
};

// Opening through the proxy fails with the case's message and class.
void ExpectRefusal(SocksClient& s, const ReplyCase& c)
{
    try {
        s.client.OpenConnection();
        ADD_FAILURE() << "no exception for " << c.Code;
    } catch (const ENetSocksError& e) {
        EXPECT_EQ(e.Message(), c.Message);
        EXPECT_TRUE(c.IsRightClass(e)) << c.Code;
    }
}

template <class E>
std::function<bool(const ENetSocksError&)> Is()
{
    return [](const ENetSocksError& e) { return dynamic_cast<const E*>(&e) != nullptr; };
}

TEST(NetSocks4, EveryRejectionHasItsException)
{
    const std::vector<ReplyCase> cases = {
        {91, "Request rejected or failed.", Is<ENetSocksRequestFailed>()},
        {92, "Request rejected because SOCKS server cannot connect.", Is<ENetSocksRequestServerFailed>()},
        {93, "Request rejected because the client program and identd report different user-ids.",
         Is<ENetSocksRequestIdentFailed>()},
        {17, "Unknown socks error.", Is<ENetSocksUnknownError>()},
    };
    for (const ReplyCase& c : cases) {
        test::TTestServer server;
        server.Serve(test::Script().ReceiveCount(9).Send(Bytes({0, c.Code, 0, 0, 0, 0, 0, 0})));
        SocksClient s(server.Port(), TSocksVersion::svSocks4, "10.0.0.1");
        ExpectRefusal(s, c);
        EXPECT_FALSE(s.client.IsConnected()) << "a failed open drops the link";
    }
}

// A SOCKS 5 server: greeting, optional login, request, reply with the
// given bound address, then one line of data.
void PlaySocks5(test::TTestPeer& peer, int method, int loginStatus, std::string reply)
{
    peer.ReceiveCount(3);
    peer.Send(Bytes({5, method}));
    if (method == 2) {
        peer.ReceiveUntil("secret");
        peer.Send(Bytes({1, loginStatus}));
        if (loginStatus != 0)
            return;
    }
    peer.ReceiveUntil(Bytes({0x1F, 0x90}));
    peer.Send(reply);
    peer.Send("data line\n");
}

TEST(NetSocks5, BoundAddressOfEachTypeIsSkipped)
{
    const std::vector<std::string> replies = {
        Bytes({5, 0, 0, 1, 127, 0, 0, 1, 0x12, 0x34}),
        Bytes({5, 0, 0, 3, 4}) + "host" + Bytes({0, 80}),
        Bytes({5, 0, 0, 4}) + std::string(16, '\x01') + Bytes({0, 80}),
    };
    for (const std::string& reply : replies) {
        test::TTestServer server;
        server.Serve([&](test::TTestPeer& peer) { PlaySocks5(peer, 0, 0, reply); });
        SocksClient s(server.Port(), TSocksVersion::svSocks5);
        s.client.OpenConnection();
        EXPECT_EQ(s.client.ReadLine(), "data line");
        s.client.CloseConnection();
        server.Wait();
        EXPECT_EQ(server.Received(),
                  Bytes({5, 1, 0}) + Bytes({5, 1, 0, 3, 14}) + "target.example" + Bytes({0x1F, 0x90}));
    }
}

TEST(NetSocks5, UserNameAndPassword)
{
    test::TTestServer server;
    server.Serve([](test::TTestPeer& peer) { PlaySocks5(peer, 2, 0, Bytes({5, 0, 0, 1, 1, 2, 3, 4, 0, 0})); });
    SocksClient s(server.Port(), TSocksVersion::svSocks5);
    s.handler.SocksInfo().Authentication = TSocksAuthentication::saUsernamePassword;
    s.handler.SocksInfo().Username = "user";
    s.handler.SocksInfo().Password = "secret";
    s.client.OpenConnection();
    EXPECT_EQ(s.client.ReadLine(), "data line");
    s.client.CloseConnection();
    server.Wait();
    EXPECT_EQ(server.Received().substr(0, 16), Bytes({5, 1, 2}) + Bytes({1, 4}) + "user" + Bytes({6}) + "secret");
}

TEST(NetSocks5, AuthenticationFailures)
{
    {
        test::TTestServer server;
        server.Serve([](test::TTestPeer& peer) { PlaySocks5(peer, 2, 1, {}); });
        SocksClient s(server.Port(), TSocksVersion::svSocks5);
        s.handler.SocksInfo().Authentication = TSocksAuthentication::saUsernamePassword;
        s.handler.SocksInfo().Password = "secret";
        EXPECT_THROW(s.client.OpenConnection(), ENetSocksAuthError);
    }
    {
        test::TTestServer server;
        server.Serve(test::Script().ReceiveCount(3).Send(Bytes({5, 0xFF})));
        SocksClient s(server.Port(), TSocksVersion::svSocks5);
        try {
            s.client.OpenConnection();
            FAIL() << "no exception";
        } catch (const ENetSocksAuthMethodError& e) {
            EXPECT_EQ(e.Message(), "Invalid socks authentication method.");
        }
    }
}

TEST(NetSocks5, EveryReplyCodeHasItsException)
{
    const std::vector<ReplyCase> cases = {
        {1, "General SOCKS server failure.", Is<ENetSocksServerGeneralError>()},
        {2, "Connection not allowed by ruleset.", Is<ENetSocksServerPermissionError>()},
        {3, "Network unreachable.", Is<ENetSocksServerNetUnreachableError>()},
        {4, "Host unreachable.", Is<ENetSocksServerHostUnreachableError>()},
        {5, "Connection refused.", Is<ENetSocksServerConnectionRefusedError>()},
        {6, "TTL expired.", Is<ENetSocksServerTTLExpiredError>()},
        {7, "Command not supported.", Is<ENetSocksServerCommandError>()},
        {8, "Address type not supported.", Is<ENetSocksServerAddressError>()},
        {9, "Unknown socks error.", Is<ENetSocksUnknownError>()},
    };
    for (const ReplyCase& c : cases) {
        test::TTestServer server;
        server.Serve([&](test::TTestPeer& peer) { PlaySocks5(peer, 0, 0, Bytes({5, c.Code, 0, 1, 0})); });
        SocksClient s(server.Port(), TSocksVersion::svSocks5);
        ExpectRefusal(s, c);
    }
}

TEST(NetSocks5, SilentServer)
{
    test::TTestServer server;
    server.Serve(test::Script().ReceiveCount(3).Close());
    SocksClient s(server.Port(), TSocksVersion::svSocks5);
    try {
        s.client.OpenConnection();
        FAIL() << "no exception";
    } catch (const ENetSocksServerRespondError& e) {
        EXPECT_EQ(e.Message(), "Socks server did not respond.");
    }
}

} // namespace
} // namespace orbelin
