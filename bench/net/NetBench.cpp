// Receive-path benchmarks on loopback: ReadIntoStream against a bare recv
// loop with the same 32 KiB buffer, and ReadLine over growing inputs.
#include "net/NetIOHandlerSocket.h"
#include "net/NetTCPClient.h"

#include "base/Streams.h"
#include "net/NetException.h"
#include "tests/support/TestServer.h"

#include <benchmark/benchmark.h>

#include <sys/socket.h>

namespace orbelin {
namespace {

constexpr int64_t kGiB = int64_t{1} << 30;
constexpr int64_t kMiB = int64_t{1} << 20;

// Throws away what it is given, keeping only the count.
class TDiscardStream : public TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override
    {
        FPosition += count;
        FSize = std::max(FSize, FPosition);
        return count;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override
    {
        FPosition = origin == TSeekOrigin::soBeginning ? offset
                    : origin == TSeekOrigin::soCurrent ? FPosition + offset
                                                       : FSize + offset;
        return FPosition;
    }
    void SetSize(int64_t size) override { FSize = size; }
    int64_t Size() override { return FSize; }

private:
    int64_t FPosition = 0;
    int64_t FSize = 0;
};

// Sends count bytes in 64 KiB blocks, then closes.
void Blast(test::TTestPeer& peer, int64_t count)
{
    const std::string block(64 * 1024, 'z');
    for (int64_t sent = 0; sent < count; sent += static_cast<int64_t>(block.size()))
        peer.Send(block);
}

void Connect(TNetTCPClient& client, const test::TTestServer& server)
{
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
}

void BM_ReadIntoStreamUntilClosed(benchmark::State& state)
{
    for (auto _ : state) {
        test::TTestServer server;
        server.Serve([](test::TTestPeer& peer) { Blast(peer, kGiB); });
        TNetTCPClient client(nullptr);
        Connect(client, server);
        TDiscardStream sink;
        client.ReadIntoStream(sink, -1, true);
        if (sink.Size() != kGiB)
            state.SkipWithError("short read");
        state.counters["queue_capacity_ok"] = client.QueuedBytes() < kMiB;
    }
    state.SetBytesProcessed(state.iterations() * kGiB);
}

void BM_BareRecvLoop(benchmark::State& state)
{
    for (auto _ : state) {
        test::TTestServer server;
        server.Serve([](test::TTestPeer& peer) { Blast(peer, kGiB); });
        TNetTCPClient client(nullptr);
        Connect(client, server); // the same kind of connection, then plain recv
        const int fd = static_cast<int>(client.SocketHandler()->SocketBinding()->SocketId());
        std::vector<char> buffer(32768);
        int64_t total = 0;
        for (;;) {
            const ssize_t n = recv(fd, buffer.data(), buffer.size(), 0);
            if (n <= 0)
                break;
            total += n;
        }
        if (total != kGiB)
            state.SkipWithError("short read");
    }
    state.SetBytesProcessed(state.iterations() * kGiB);
}

std::string ShortLines(int64_t bytes)
{
    std::string text;
    text.reserve(static_cast<size_t>(bytes + 64));
    for (int i = 0; static_cast<int64_t>(text.size()) < bytes; ++i)
        text += "line number " + std::to_string(i) + " of the test\r\n";
    return text;
}

void BM_ReadLine(benchmark::State& state)
{
    const std::string text = ShortLines(state.range(0) * kMiB);
    int64_t lines = 0;
    for (auto _ : state) {
        test::TTestServer server;
        server.Serve(test::Script().Send(text).Close());
        TNetTCPClient client(nullptr);
        Connect(client, server);
        lines = 0;
        try {
            for (;;) {
                client.ReadLine();
                ++lines;
            }
        } catch (const ENetConnClosedGracefully&) {
            // the server closed after the last line
        }
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

// Wall-clock time: the sender shares the machine, so CPU time would flatter
// whichever side sleeps more.
BENCHMARK(BM_BareRecvLoop)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReadIntoStreamUntilClosed)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReadLine)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
} // namespace orbelin

BENCHMARK_MAIN();
