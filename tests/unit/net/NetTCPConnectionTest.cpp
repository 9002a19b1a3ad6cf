#include "net/NetException.h"
#include "net/NetIOHandlerSocket.h"
#include "net/NetIntercept.h"
#include "net/NetTCPClient.h"

#include "base/Streams.h"
#include "tests/support/TestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace orbelin {
namespace {

using namespace std::chrono;
using test::Script;
using test::TTestServer;

// A client connected to a test server that plays script.
struct Connected {
    explicit Connected(const Script& script, int connections = 1)
    {
        server.Serve(script, connections);
        client.SetHost("127.0.0.1");
        client.SetPort(server.Port());
        client.OpenConnection();
    }
    TTestServer server;
    TNetTCPClient client{nullptr};
};

TEST(NetTCPConnection, LinesWithLFAndCRLF)
{
    Connected c(Script().Send("abc\r\ndef\n").Close());
    EXPECT_EQ(c.client.ReadLine(), "abc");
    EXPECT_EQ(c.client.ReadLine(), "def");
}

TEST(NetTCPConnection, LinesSplitAcrossReceives)
{
    Connected c(Script().Send("ab").Delay(50).Send("c\nxy").Delay(50).Send("z\r").Delay(50).Send("\nlast\n"));
    EXPECT_EQ(c.client.ReadLine(), "abc");
    EXPECT_EQ(c.client.ReadLine(), "xyz");
    EXPECT_EQ(c.client.ReadLine(), "last");
}

TEST(NetTCPConnection, CustomTerminatorKeepsCR)
{
    Connected c(Script().Send("a\rX").Delay(30).Send("bX"));
    EXPECT_EQ(c.client.ReadLine("X"), "a\r");
    EXPECT_EQ(c.client.ReadLine("X"), "b");
}

TEST(NetTCPConnection, CRLFTerminatorSplitBetweenReceives)
{
    Connected c(Script().Send("one\r").Delay(100).Send("\ntwo\r\n"));
    EXPECT_EQ(c.client.ReadLine(EOL), "one");
    EXPECT_EQ(c.client.ReadLine(EOL), "two");
}

TEST(NetTCPConnection, LongLineUnderBothMaxLineActions)
{
    const std::string line(20000, 'q');
    {
        Connected c(Script().Send(line + "\n"));
        try {
            c.client.ReadLine();
            FAIL() << "no exception";
        } catch (const ENetReadLnMaxLineLengthExceeded& e) {
            EXPECT_EQ(e.Message(), "Max line length exceeded.");
        }
    }
    {
        Connected c(Script().Send(line + "\nnext\n"));
        c.client.MaxLineAction = TNetMaxLineAction::maSplit;
        const std::string first = c.client.ReadLine();
        EXPECT_EQ(first.size(), 16384u);
        EXPECT_TRUE(c.client.LastLineSplit());
        const std::string rest = c.client.ReadLine();
        EXPECT_EQ(rest.size(), 3616u);
        EXPECT_FALSE(c.client.LastLineSplit());
        EXPECT_EQ(c.client.ReadLine(), "next");
    }
    {
        Connected c(Script().Send(line + "\n"));
        c.client.MaxLineLength = 0; // no limit
        EXPECT_EQ(c.client.ReadLine(), line);
    }
}

TEST(NetTCPConnection, LineOfExactlyTheMaximumIsWhole)
{
    const std::string line(TNetTCPConnection::kDefaultMaxLineLength, 'm');
    for (const TNetMaxLineAction action : {TNetMaxLineAction::maException, TNetMaxLineAction::maSplit}) {
        Connected c(Script().Send(line + "\nnext\n"));
        c.client.MaxLineAction = action;
        EXPECT_EQ(c.client.ReadLine(), line);
        EXPECT_FALSE(c.client.LastLineSplit());
        EXPECT_EQ(c.client.ReadLine(), "next");
    }
}

TEST(NetTCPConnection, MaximumLineWaitsForItsTerminator)
{
    // Exactly the maximum queued without a line end is not yet too long.
    const std::string line(TNetTCPConnection::kDefaultMaxLineLength, 'w');
    Connected c(Script().Send(line).Delay(100).Send("\nnext\n"));
    EXPECT_EQ(c.client.ReadLine(), line);
    EXPECT_EQ(c.client.ReadLine(), "next");
}

TEST(NetTCPConnection, LineOneByteOverTheMaximum)
{
    const std::string line(TNetTCPConnection::kDefaultMaxLineLength + 1, 'o');
    {
        Connected c(Script().Send(line + "\n"));
        EXPECT_THROW(c.client.ReadLine(), ENetReadLnMaxLineLengthExceeded);
    }
    Connected c(Script().Send(line + "\nnext\n"));
    c.client.MaxLineAction = TNetMaxLineAction::maSplit;
    EXPECT_EQ(c.client.ReadLine(), line.substr(1));
    EXPECT_TRUE(c.client.LastLineSplit());
    EXPECT_EQ(c.client.ReadLine(), "o");
    EXPECT_FALSE(c.client.LastLineSplit());
    EXPECT_EQ(c.client.ReadLine(), "next");
}

TEST(NetTCPConnection, PeerSendsUnterminatedTextAndCloses)
{
    Connected c(Script().Send("abc").Close());
    int disconnected = 0;
    c.client.OnDisconnected = [&](TObject*) { ++disconnected; };
    EXPECT_EQ(c.client.ReadLine(), "");
    EXPECT_TRUE(c.client.LastLineTimedOut());
    EXPECT_EQ(c.client.QueuedBytes(), 3);
    EXPECT_THROW(c.client.ReadLine(), ENetConnClosedGracefully);
    EXPECT_EQ(c.client.QueuedBytes(), 3);
    EXPECT_EQ(c.client.TakeQueued(), "abc");
    EXPECT_EQ(disconnected, 1);
    EXPECT_FALSE(c.client.IsConnected());
    EXPECT_EQ(disconnected, 1);
}

TEST(NetTCPConnection, ExplicitTimeoutGivesEmptyLine)
{
    Connected c(Script().Delay(400).Send("late\n"));
    EXPECT_EQ(c.client.ReadLine(LF, 50), "");
    EXPECT_TRUE(c.client.LastLineTimedOut());
    EXPECT_EQ(c.client.ReadLine(LF, 5000), "late");
    EXPECT_FALSE(c.client.LastLineTimedOut());
}

TEST(NetTCPConnection, DefaultReadTimeoutRaises)
{
    Connected c(Script().ReceiveToClose()); // silent until the client goes
    c.client.ReadTimeout = 5000;
    const auto start = steady_clock::now();
    try {
        c.client.ReadLine();
        FAIL() << "no exception";
    } catch (const ENetReadTimeout& e) {
        EXPECT_EQ(e.Message(), "Read Timeout");
    }
    const auto waited = steady_clock::now() - start;
    EXPECT_GE(waited, milliseconds(4900));
    EXPECT_LT(waited, milliseconds(6900));
    c.client.CloseConnection();
}

TEST(NetTCPConnection, ReadLineSkipEmptyAndExactReads)
{
    Connected c(Script().Send("\r\n  \t\r\n  word  \r\n").Send(std::string("\x01\x02\x03\x04", 4) + "tail"));
    EXPECT_EQ(c.client.ReadLineSkipEmpty(5), "word");
    EXPECT_EQ(c.client.ReadInt32(), 0x01020304);
    char tail[4];
    c.client.ReadExact(tail, 4);
    EXPECT_EQ(std::string(tail, 4), "tail");
    c.client.ReadExact(nullptr, 4); // nothing to fill: returns at once
}

TEST(NetTCPConnection, ReadIntoStreamTakesQueuedBytesFirst)
{
    Connected c(Script().Send("head\n0123").Delay(50).Send("456789rest"));
    EXPECT_EQ(c.client.ReadLine(), "head");
    ASSERT_EQ(c.client.QueuedBytes(), 4);
    TStringStream stream;
    stream.WriteString(">");
    c.client.ReadIntoStream(stream, 10);
    EXPECT_EQ(stream.DataString(), ">0123456789");
    EXPECT_EQ(c.client.ReadLine(LF, 2000), "");
    EXPECT_EQ(c.client.TakeQueued(), "rest");
}

TEST(NetTCPConnection, ReadIntoStreamUntilClosedEndsAfterLastByte)
{
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body.push_back(static_cast<char>('a' + i % 23));
    Connected c(Script().Send(body.substr(0, 70000)).Delay(30).Send(body.substr(70000)).Close());
    TStringStream stream;
    c.client.ReadIntoStream(stream, -1, true);
    EXPECT_EQ(stream.Size(), 100000);
    EXPECT_EQ(stream.DataString(), body);
    EXPECT_FALSE(c.client.IsConnected());
}

TEST(NetTCPConnection, ReadIntoStreamWithCountPrefix)
{
    Connected c(Script().Send(std::string("\0\0\0\x05", 4) + "helloextra"));
    TStringStream stream;
    c.client.ReadIntoStream(stream);
    EXPECT_EQ(stream.DataString(), "hello");
}

TEST(NetTCPConnection, ReadIntoStreamShortByCountRaisesGracefulClose)
{
    Connected c(Script().Send("12345").Close());
    TStringStream stream;
    EXPECT_THROW(c.client.ReadIntoStream(stream, 10), ENetConnClosedGracefully);
    EXPECT_LE(stream.Size(), 10);
    EXPECT_EQ(stream.Size(), stream.Position()) << "the stream is cut at its position";
}

TEST(NetTCPConnection, ReadIntoStreamUpToStopsAtTheCount)
{
    Connected c(Script().Send("0123").Delay(30).Send("456789rest"));
    TStringStream stream;
    c.client.ReadIntoStreamUpTo(stream, 10);
    EXPECT_EQ(stream.DataString(), "0123456789");
    EXPECT_TRUE(c.client.IsConnected());
    EXPECT_EQ(c.client.ReadLine(LF, 2000), "");
    EXPECT_EQ(c.client.TakeQueued(), "rest");
}

TEST(NetTCPConnection, ReadIntoStreamUpToEndsQuietlyAtTheClose)
{
    Connected c(Script().Send("12").Delay(30).Send("345").Close());
    TStringStream stream("stale bytes beyond");
    int begun = 0, ended = 0;
    c.client.OnWorkBegin = [&](TObject*, TWorkMode, int64_t max) { begun += max == 100000; };
    c.client.OnWorkEnd = [&](TObject*, TWorkMode) { ++ended; };
    c.client.ReadIntoStreamUpTo(stream, 100000);
    EXPECT_EQ(stream.DataString(), "12345");
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(c.client.IsConnected());
}

TEST(NetTCPConnection, ReadIntoStreamUpToWithoutLimitReadsUntilClosed)
{
    const std::string body(70000, 'u');
    Connected c(Script().Send(body).Close());
    TStringStream stream;
    c.client.ReadIntoStreamUpTo(stream, -1);
    EXPECT_EQ(stream.Size(), 70000);
    EXPECT_TRUE(stream.DataString() == body);
}

TEST(NetTCPConnection, LargeWriteArrivesInFull)
{
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    Connected c(Script().ReceiveCount(100000));
    int64_t progress = 0;
    c.client.OnWork = [&](TObject*, TWorkMode, int64_t total) { progress = total; };
    c.client.WorkBegin(TWorkMode::wmWrite, 100000);
    c.client.WriteRaw(data.data(), static_cast<int64_t>(data.size()));
    c.client.WorkEnd(TWorkMode::wmWrite);
    EXPECT_EQ(progress, 100000);
    c.server.Wait();
    EXPECT_EQ(c.server.Received(), data);
}

TEST(NetTCPConnection, BufferedWritesLeaveInOneSend)
{
    Connected c(Script().ReceiveUntil("\r\n\r\n").Send("done\n").ReceiveToClose());
    c.client.BeginBufferedWrites();
    c.client.WriteLine("GET / HTTP/1.0");
    c.client.WriteLine("Host: a");
    // Nothing may have left yet: the server would have answered.
    EXPECT_EQ(c.client.ReadLine(LF, 200), "");
    c.client.WriteLine("");
    c.client.EndBufferedWrites();
    EXPECT_FALSE(c.client.WritesBuffered());
    EXPECT_EQ(c.client.ReadLine(), "done");
    c.client.CloseConnection();
    c.server.Wait();
    EXPECT_EQ(c.server.Received(), "GET / HTTP/1.0\r\nHost: a\r\n\r\n");
}

TEST(NetTCPConnection, BufferedWritesFlushAtThresholdAndDiscard)
{
    Connected c(Script().ReceiveToClose());
    c.client.BeginBufferedWrites(4);
    c.client.WriteText("ab");
    c.client.WriteText("cdef"); // 6 held: the first 4 leave
    c.client.WriteText("X");
    c.client.DiscardBufferedWrites();
    c.client.WriteText("gh");
    c.client.EndBufferedWrites();
    c.client.WriteText("!"); // immediate again
    c.client.CloseConnection();
    c.server.Wait();
    EXPECT_EQ(c.server.Received(), "abcdgh!");
}

TEST(NetTCPConnection, WriteFromStreamAndWholeFile)
{
    const std::string name = testing::TempDir() + "orbelin_net_file.bin";
    const std::string content(70000, 'f');
    WriteFileBytes(name, content);
    Connected c(Script().ReceiveCount(4 + 3 + 70000));
    TStringStream stream("xyz");
    c.client.WriteFromStream(stream, true, true);
    EXPECT_EQ(c.client.WriteWholeFile(name), 70000);
    try {
        c.client.WriteWholeFile(name + ".missing");
        FAIL() << "no exception";
    } catch (const ENetFileNotFound& e) {
        EXPECT_EQ(e.Message(), "File \"" + name + ".missing\" not found");
    }
    c.server.Wait();
    EXPECT_EQ(c.server.Received(), std::string("\0\0\0\x03xyz", 7) + content);
    std::remove(name.c_str());
}

TEST(NetTCPConnection, StreamEndingEarlyIsNoDataToRead)
{
    Connected c(Script().ReceiveToClose());
    TStringStream stream("abc");
    try {
        c.client.WriteFromStream(stream, true, false, 10);
        FAIL() << "no exception";
    } catch (const ENetNoDataToRead& e) {
        EXPECT_EQ(e.Message(), "No data to read.");
    }
}

TEST(NetTCPConnection, ReconnectAfterCloseUsesNewHandler)
{
    Connected c(Script().Send("first\n").ReceiveToClose(), 2);
    EXPECT_EQ(c.client.ReadLine(), "first");
    try {
        c.client.OpenConnection();
        FAIL() << "no exception";
    } catch (const ENetAlreadyConnected& e) {
        EXPECT_EQ(e.Message(), "Already connected.");
    }
    EXPECT_TRUE(c.client.IsConnected()) << "a refused open keeps the link";
    TNetIOHandler* old = c.client.IOHandler();
    EXPECT_TRUE(c.client.OwnsIOHandler());
    c.client.CloseConnection();
    EXPECT_EQ(c.client.IOHandler(), nullptr);
    c.client.CloseConnection(); // closing twice is harmless
    c.client.OpenConnection();
    EXPECT_NE(c.client.IOHandler(), nullptr);
    (void)old;
    EXPECT_EQ(c.client.ReadLine(), "first");
}

TEST(NetTCPConnection, FailedOpenDropsTheLink)
{
    TNetTCPClient client(nullptr);
    client.SetHost("127.0.0.1");
    client.SetPort(test::UnusedPort());
    EXPECT_THROW(client.OpenConnection(), ENetSocketError);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_TRUE(client.PeerClosed());
    client.SetHost("no such host.invalid");
    try {
        client.OpenConnection();
        FAIL() << "no exception";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketErrorCode(), 11001);
        EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    }
}

TEST(NetTCPConnection, ReadWithoutConnectionIsNotConnected)
{
    TNetTCPClient client(nullptr);
    try {
        client.FillInputQueue();
        FAIL() << "no exception";
    } catch (const ENetNotConnected& e) {
        EXPECT_EQ(e.Message(), "Not Connected");
    }
    EXPECT_THROW(client.WriteText("x"), ENetNotConnected);
}

TEST(NetTCPConnection, ASCIIFilterClearsTheHighBit)
{
    Connected c(Script().Send("\xC1\xE2\n"));
    c.client.ASCIIFilter = true;
    EXPECT_EQ(c.client.ReadLine(), "Ab");
}

TEST(NetTCPConnection, InterceptsNestAndMayRewriteBlocks)
{
    TNetConnectionIntercept outer(nullptr), inner(nullptr);
    outer.SetIntercept(&inner);
    std::vector<std::string> order;
    inner.OnReceive = [&](TNetConnectionIntercept*, TStream& s) {
        order.push_back("inner receive");
        s.SetSize(0);
        s.WriteString("rewritten\n");
    };
    outer.OnReceive = [&](TNetConnectionIntercept*, TStream& s) {
        order.push_back("outer receive " + std::to_string(s.Position()));
    };
    outer.OnSend = [&](TNetConnectionIntercept*, TStream& s) {
        order.push_back("outer send");
        s.Seek(0, TSeekOrigin::soEnd);
        s.WriteString("+");
    };
    inner.OnSend = [&](TNetConnectionIntercept*, TStream& s) { order.push_back("inner send " + std::to_string(s.Position())); };
    inner.OnConnect = [&](TNetConnectionIntercept*) { order.push_back("inner connect"); };
    outer.OnConnect = [&](TNetConnectionIntercept*) { order.push_back("outer connect"); };
    inner.OnDisconnect = [&](TNetConnectionIntercept*) { order.push_back("inner disconnect"); };
    outer.OnDisconnect = [&](TNetConnectionIntercept*) { order.push_back("outer disconnect"); };

    TTestServer server;
    server.Serve(Script().ReceiveCount(2).Send("original\n").ReceiveToClose());
    TNetTCPClient client(nullptr);
    client.SetIntercept(&outer);
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
    client.WriteText("x");
    EXPECT_EQ(client.ReadLine(), "rewritten");
    client.CloseConnection();
    server.Wait();
    EXPECT_EQ(server.Received(), "x+");
    EXPECT_EQ(order, (std::vector<std::string>{"outer connect", "inner connect", "outer send", "inner send 0",
                                               "inner receive", "outer receive 0", "inner disconnect",
                                               "outer disconnect"}));
}

TEST(NetTCPConnection, ReplyReadingAndCommands)
{
    Connected c(Script()
                    .Send("220-Welcome\r\n220-second\r\n220 ready\r\n")
                    .ReceiveUntil("\r\n")
                    .Send("550 No such thing\r\n")
                    .ReceiveToClose());
    EXPECT_EQ(c.client.ReadReply({220}), 220);
    EXPECT_EQ(c.client.LastReply().Text.Count(), 3);
    try {
        c.client.SendCommand("DELE x", {250});
        FAIL() << "no exception";
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.ErrorCode(), 550);
        EXPECT_EQ(e.Message(), "No such thing");
    }
    EXPECT_EQ(c.client.CheckReplyCode(123, {}), 123);
}

TEST(NetTCPConnection, FormDescriptionProperties)
{
    TNetTCPClient client(nullptr);
    EXPECT_TRUE(client.SetProperty("ReadTimeout", TPropertyValue(int64_t{4000})));
    EXPECT_TRUE(client.SetProperty("MaxLineAction", TPropertyValue(TIdentifier{"maSplit"})));
    EXPECT_TRUE(client.SetProperty("Host", TPropertyValue(std::string("localhost"))));
    EXPECT_TRUE(client.SetProperty("Port", TPropertyValue(int64_t{8080})));
    EXPECT_TRUE(client.SetProperty("Name", TPropertyValue(std::string("http"))));
    EXPECT_FALSE(client.SetProperty("NoSuchProperty", TPropertyValue(int64_t{1})));
    EXPECT_EQ(client.ReadTimeout, 4000);
    EXPECT_EQ(client.MaxLineAction, TNetMaxLineAction::maSplit);
    EXPECT_EQ(client.Host(), "localhost");
    EXPECT_EQ(client.Port(), 8080);
    EXPECT_EQ(client.Name(), "http");
}

} // namespace
} // namespace orbelin
