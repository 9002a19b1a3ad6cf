// nethttp run as its own process against scripted servers: the exit status
// and the message a user sees.

#include "tests/support/RunProgram.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbelin {
namespace {

using test::Script;
using test::TTestServer;

const std::string kHeadEnd = "\r\n\r\n";

using TExit = test::TProgramRun;

TExit RunNethttp(const std::vector<std::string>& args)
{
    return test::RunProgram(NETHTTP_PATH, args, ::testing::TempDir());
}

std::string UrlOf(const TTestServer& server, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
}

std::string Socks5Of(const TTestServer& server) { return "127.0.0.1:" + std::to_string(server.Port()); }

TEST(NethttpExit, ErrorBodyTimeoutIs28)
{
    // A 404 without a length on a kept connection: its body is read with a
    // two-second time-out, and the time-out is the outcome.
    TTestServer server;
    server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 404 Not Found\r\n\r\n").ReceiveToClose());
    const TExit r = RunNethttp({"get", UrlOf(server, "/missing")});
    server.Wait();
    EXPECT_EQ(r.Status, 28) << r.Err;
    EXPECT_NE(r.Err.find("Read Timeout"), std::string::npos) << r.Err;
}

TEST(NethttpExit, RefusedConnectIs7WithAndWithoutTimeout)
{
    const std::string url = "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"get", url},
                                                 std::vector<std::string>{"get", url, "--timeout", "3000"}}) {
        const TExit r = RunNethttp(args);
        EXPECT_EQ(r.Status, 7) << args.size() << " " << r.Err;
        EXPECT_NE(r.Err.find("10061"), std::string::npos) << r.Err;
    }
}

TEST(NethttpExit, UnfollowedRedirectIs22WhateverItsStatus)
{
    for (const std::string status : {"200 OK", "302 Found"}) {
        TTestServer server;
        server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 " + status +
                                                          "\r\nLocation: /next\r\nContent-Length: 2\r\n\r\nok"));
        const TExit r = RunNethttp({"get", UrlOf(server, "/"), "--follow", "--max-redirects", "1"});
        server.Wait();
        EXPECT_EQ(r.Status, 22) << status;
        EXPECT_EQ(r.Err, "nethttp: HTTP/1.1 " + status + " (redirect not followed)\n");
        EXPECT_EQ(r.Out, "");
    }
}

TEST(NethttpExit, SocksFailuresAre7)
{
    const std::string greeting("\x05\x01\x00", 3);
    const std::string refused = std::string("\x05\x05\x00\x01", 4) + std::string(6, '\0');
    const std::pair<Script, const char*> cases[] = {
        {Script().ReceiveCount(3).Send(std::string("\x05\x00", 2)).ReceiveCount(16).Send(refused), "Connection refused."},
        {Script().ReceiveCount(3).Send("\x05\xFF"), "Invalid socks authentication method."},
        {Script().ReceiveCount(3).Close(), "Socks server did not respond."},
    };
    for (const auto& [script, message] : cases) {
        TTestServer proxy;
        proxy.Serve(script);
        const TExit r = RunNethttp({"get", "http://127.0.0.1:1/", "--socks5", Socks5Of(proxy)});
        proxy.Wait();
        EXPECT_EQ(r.Status, 7) << message << ": " << r.Err;
        EXPECT_EQ(r.Err, std::string("nethttp: ") + message + "\n");
        EXPECT_EQ(proxy.Received().substr(0, 3), greeting);
    }
}

TEST(NethttpExit, PeerGoneBeforeTheBodyIs7)
{
    TTestServer server;
    server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n").Close());
    const TExit r = RunNethttp({"get", UrlOf(server, "/")});
    server.Wait();
    EXPECT_EQ(r.Status, 7);
    EXPECT_EQ(r.Err, "nethttp: Undefined situation\n");
}

TEST(NethttpExit, CompletedExchangeIs0)
{
    TTestServer server;
    server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nbody"));
    const TExit r = RunNethttp({"get", UrlOf(server, "/")});
    server.Wait();
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "body");
}

} // namespace
} // namespace orbelin
