#include "tools/nethttp/NetHTTPCommand.h"

#include "base/Streams.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace orbelin {
namespace {

using test::Script;
using test::TTestServer;

const std::string kHeadEnd = "\r\n\r\n";

std::string Ok(const std::string& body, const std::string& extra = "")
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra + "\r\n" + body;
}

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

TRun RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunCommand(ParseCommandLine(args), out, err);
    return {status, out.str(), err.str()};
}

class NetHTTPTool : public ::testing::Test {
protected:
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(Server.Port()) + path; }
    TTestServer Server;
};

TEST(NetHTTPToolArgs, BadCommandLines)
{
    const std::vector<std::vector<std::string>> bad = {
        {}, {"fetch", "http://x/"}, {"get"}, {"get", "http://x/", "--bogus"}, {"get", "http://x/", "-o"},
        {"post", "http://x/"}, {"post", "http://x/", "http://y/", "--data-file", "f"},
        {"get", "http://x/", "--timeout", "soon"}, {"get", "http://x/", "--max-redirects", "-1"}};
    for (const auto& args : bad)
        EXPECT_THROW(ParseCommandLine(args), std::invalid_argument) << (args.empty() ? "" : args[0]);
}

TEST(NetHTTPToolArgs, Options)
{
    const TNetHTTPCommand c = ParseCommandLine({"get", "http://a/", "http://b/", "-o", "f", "--follow", "--max-redirects",
                                                "3", "--http1.0", "--timeout", "500", "--user", "u", "--password", "p",
                                                "--proxy", "h:8", "--socks5", "s:9", "-v"});
    EXPECT_EQ(c.Urls, (std::vector<std::string>{"http://a/", "http://b/"}));
    EXPECT_EQ(c.OutputFile, "f");
    EXPECT_TRUE(c.Follow && c.Http10 && c.Verbose);
    EXPECT_EQ(c.MaxRedirects, 3);
    EXPECT_EQ(c.TimeoutMs, 500);
    EXPECT_EQ(c.User, "u");
    EXPECT_EQ(c.Proxy, "h:8");
    EXPECT_EQ(c.Socks5, "s:9");
}

TEST_F(NetHTTPTool, SeveralUrlsOnOneConnection)
{
    Server.Serve([](test::TTestPeer& peer) {
        peer.ReceiveUntil(kHeadEnd);
        peer.Send(Ok("one,"));
        while (peer.Received().find(kHeadEnd) == peer.Received().rfind(kHeadEnd))
            peer.ReceiveCount(1);
        peer.Send(Ok("two"));
    });
    const TRun r = RunTool({"get", Url("/1"), Url("/2")});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitOk);
    EXPECT_EQ(r.Out, "one,two");
    EXPECT_EQ(Server.Accepted(), 1u);
}

TEST_F(NetHTTPTool, ProtocolErrorExits22WithStatusLine)
{
    Server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!"));
    const TRun r = RunTool({"get", Url("/missing")});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitProtocol);
    EXPECT_EQ(r.Err, "HTTP/1.1 404 Not Found\n");
    EXPECT_EQ(r.Out, "");
}

TEST_F(NetHTTPTool, RedirectsFollowedUpToTheMaximum)
{
    std::vector<Script> scripts;
    for (int i = 0; i < 2; ++i)
        scripts.push_back(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 302 Found\r\nLocation: /n" + std::to_string(i) +
                                                               "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"));
    scripts.push_back(Script().ReceiveUntil(kHeadEnd).Send(Ok("end")));
    Server.Serve(std::move(scripts));
    const TRun r = RunTool({"get", Url("/"), "--follow", "--max-redirects", "3"});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitOk);
    EXPECT_EQ(r.Out, "end");
    EXPECT_EQ(Server.Accepted(), 3u);
}

TEST_F(NetHTTPTool, TooManyRedirectsIsAProtocolError)
{
    std::vector<Script> scripts;
    for (int i = 0; i < 2; ++i)
        scripts.push_back(Script().ReceiveUntil(kHeadEnd).Send(
            "HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"));
    Server.Serve(std::move(scripts));
    const TRun r = RunTool({"get", Url("/"), "--follow", "--max-redirects", "2"});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitProtocol);
    EXPECT_EQ(Server.Accepted(), 2u);
}

TEST_F(NetHTTPTool, RedirectWithoutFollowIsAProtocolError)
{
    Server.Serve(Script().ReceiveUntil(kHeadEnd).Send("HTTP/1.1 301 Moved\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n"));
    const TRun r = RunTool({"get", Url("/")});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitProtocol);
    EXPECT_EQ(r.Err, "HTTP/1.1 301 Moved\n");
}

TEST_F(NetHTTPTool, PostSendsFileWithBasicAuthAndVerboseHead)
{
    const std::string file = ::testing::TempDir() + "nethttp_post_body.txt";
    WriteFileBytes(file, "a=1&b=2");
    Server.Serve(Script().ReceiveUntil(kHeadEnd + "a=1&b=2").Send(Ok("posted")));
    const TRun r = RunTool({"post", Url("/form"), "--data-file", file, "--content-type", "application/x-www-form-urlencoded",
                        "--user", "u", "--password", "p", "-v"});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitOk);
    EXPECT_EQ(r.Out, "posted");
    const std::string sent = Server.Received();
    EXPECT_EQ(sent.rfind("POST /form HTTP/1.0\r\n", 0), 0u);
    EXPECT_NE(sent.find("\r\nAuthorization: Basic dTpw\r\n"), std::string::npos);
    EXPECT_NE(sent.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    EXPECT_NE(r.Err.find("> POST /form HTTP/1.0\n"), std::string::npos);
    EXPECT_NE(r.Err.find("< HTTP/1.1 200 OK\n"), std::string::npos);
}

TEST_F(NetHTTPTool, OutputFile)
{
    const std::string file = ::testing::TempDir() + "nethttp_output.bin";
    const std::string body("\0\1\2\r\n\xff", 6);
    Server.Serve(Script().ReceiveUntil(kHeadEnd).Send(Ok(body)));
    const TRun r = RunTool({"get", Url("/"), "-o", file});
    Server.Wait();
    EXPECT_EQ(r.Status, kExitOk);
    EXPECT_EQ(ReadFileBytes(file), body);
}

TEST(NetHTTPToolNet, RefusedConnectionExits7)
{
    const TRun r = RunTool({"get", "http://127.0.0.1:" + std::to_string(test::UnusedPort()) + "/"});
    EXPECT_EQ(r.Status, kExitSocket);
    EXPECT_NE(r.Err.find("Socket Error # 10061"), std::string::npos);
}

TEST_F(NetHTTPTool, ReadTimeoutExits28)
{
    Server.Serve(Script().ReceiveUntil(kHeadEnd).Delay(1500).Close());
    const TRun r = RunTool({"get", Url("/"), "--timeout", "200"});
    EXPECT_EQ(r.Status, kExitTimeout);
    Server.Wait();
}

TEST(NetHTTPToolNet, HttpsExits1)
{
    const TRun r = RunTool({"get", "https://127.0.0.1:1/"});
    EXPECT_EQ(r.Status, kExitOther);
    EXPECT_NE(r.Err.find("IOHandler value is not valid"), std::string::npos);
}

} // namespace
} // namespace orbelin
