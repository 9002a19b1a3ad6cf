// Decoding speed of the skin codec: our packed skin and a 16 MiB mixed file.
// Set ORBELIN_SKIN_FILE in the environment to a packed skin to bench it too.

#include "base/Streams.h"
#include "bench/skin/MixedData.h"
#include "skin/data/LZH.h"
#include "tools/skinpack/LZHEncoder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace orbelin {
namespace {

void DecodeBench(benchmark::State& state, const std::vector<uint8_t>& packed)
{
    TMemoryStream in;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    int64_t produced = 0;
    for (auto _ : state) {
        TMemoryStream out;
        TLZH::Unpack(in, out);
        produced = out.Size();
        benchmark::DoNotOptimize(out.Memory());
    }
    state.SetBytesProcessed(state.iterations() * produced);
    state.counters["plain_bytes"] = static_cast<double>(produced);
    state.counters["packed_bytes"] = static_cast<double>(packed.size());
}

void BM_DecodeMixed16MiB(benchmark::State& state)
{
    static const std::vector<uint8_t> packed = TLZHEncoder::Pack(bench::MixedData());
    DecodeBench(state, packed);
}
BENCHMARK(BM_DecodeMixed16MiB)->Unit(benchmark::kMillisecond);

void BM_DecodeSkin(benchmark::State& state)
{
    const char* file = std::getenv("ORBELIN_SKIN_FILE");
    if (!file) {
        state.SkipWithError("ORBELIN_SKIN_FILE not set");
        return;
    }
    const std::string bytes = ReadFileBytes(file);
    DecodeBench(state, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}
BENCHMARK(BM_DecodeSkin)->Unit(benchmark::kMicrosecond);

void BM_PackSkinArchive(benchmark::State& state)
{
    const char* file = std::getenv("ORBELIN_SKIN_FILE");
    if (!file) {
        state.SkipWithError("ORBELIN_SKIN_FILE not set");
        return;
    }
    TMemoryStream in;
    in.WriteString(ReadFileBytes(file));
    TMemoryStream plain;
    TLZH::Unpack(in, plain);
    const std::string archive(plain.Bytes().begin(), plain.Bytes().end());
    for (auto _ : state)
        benchmark::DoNotOptimize(TLZHEncoder::Pack(archive));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(archive.size()));
}
BENCHMARK(BM_PackSkinArchive)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orbelin

BENCHMARK_MAIN();
