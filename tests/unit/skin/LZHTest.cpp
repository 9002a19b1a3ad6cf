#include "base/Streams.h"
#include "skin/data/LZH.h"
#include "tools/skinpack/LZHEncoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace orbelin {
namespace {

std::string Decode(const std::vector<uint8_t>& packed)
{
    TMemoryStream in;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TMemoryStream out;
    TLZH::Unpack(in, out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::string RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

std::string Text(size_t n)
{
    const std::string words[] = {"skin ", "frame ", "caption ", "\xB7\xAD\xD2\xEB ", "button ", "[Personality]\r\n", "Image=top.bmp\r\n"};
    std::mt19937 rng(7);
    std::string s;
    while (s.size() < n)
        s += words[rng() % 7];
    return s.substr(0, n);
}

struct RoundTripCase {
    const char* name;
    std::string plain;
};

class LZHRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(LZHRoundTrip, DecodesWhatThePackerWrote)
{
    const std::string& plain = GetParam().plain;
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(plain);
    ASSERT_GE(packed.size(), 4u);
    EXPECT_EQ(Decode(packed), plain);
}

std::string Mixed()
{
    // Long enough that the root count reaches 0x8000 several times.
    return Text(150000) + std::string(40000, '\0') + RandomBytes(60000, 3) + Text(20000);
}

INSTANTIATE_TEST_SUITE_P(Cases, LZHRoundTrip,
                         ::testing::Values(RoundTripCase{"Empty", ""}, RoundTripCase{"OneByte", "x"},
                                           RoundTripCase{"Spaces", std::string(5000, ' ')},
                                           RoundTripCase{"AllZero", std::string(100000, '\0')},
                                           RoundTripCase{"Random", RandomBytes(70000, 1)},
                                           RoundTripCase{"Text", Text(50000)},
                                           RoundTripCase{"ShorterThanLookAhead", "abcabcabcab"},
                                           RoundTripCase{"WrapsTheRing", Text(4096 * 3 + 17)},
                                           RoundTripCase{"Mixed", Mixed()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LZHEncoder, PacksRepeatsSmall)
{
    EXPECT_LT(TLZHEncoder::Pack(std::string(100000, '\0')).size(), 3000u);
    EXPECT_LT(TLZHEncoder::Pack(Text(50000)).size(), 50000u / 3);
}

// Writes symbols the way the decoder reads them, from our own model copy.
class THandStream {
public:
    THandStream() { FTree.StartHuff(); }
    void Symbol(int s)
    {
        std::vector<int> path;
        for (int k = FTree.prnt[s + lzh::TreeSize]; k != lzh::Root; k = FTree.prnt[k])
            path.push_back(k & 1);
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            Bit(*it);
        FTree.Update(s);
    }
    void Match(int length, int distance)
    {
        Symbol(253 + length);
        const int p = distance - 1;
        const TLZHPositionTables& t = LZHPositionTables();
        for (int i = t.p_len[p >> 6] - 1; i >= 0; --i)
            Bit((t.p_code[p >> 6] >> (7 - (t.p_len[p >> 6] - 1 - i))) & 1);
        for (int i = 5; i >= 0; --i)
            Bit((p >> i) & 1);
    }
    std::vector<uint8_t> Bytes(int32_t plainSize) const
    {
        std::vector<uint8_t> out = {static_cast<uint8_t>(plainSize), static_cast<uint8_t>(plainSize >> 8), 0, 0};
        for (size_t i = 0; i < FBits.size(); i += 8) {
            uint8_t b = 0;
            for (size_t k = 0; k < 8; ++k)
                b = static_cast<uint8_t>(b << 1 | (i + k < FBits.size() ? FBits[i + k] : 0));
            out.push_back(b);
        }
        return out;
    }

private:
    void Bit(int b) { FBits.push_back(b); }
    TLZHTree FTree;
    std::vector<int> FBits;
};

// A packed stream worked out by hand from the format, not by our encoder or
// our tree code, so that a fault both share cannot hide.
//
// Start tree: leaf n (symbol n) and every node n below the root has parent
// 314 + n / 2, and is the right child (bit 1) when n is odd. A symbol's code
// is the odd/even bits of its nodes from just below the root (626) down to
// its leaf. Symbol 257 (match length 4), for example, climbs 257, 442, 535,
// 581, 604, 616, 622, 625: odd, even, odd, odd, even, even, even, odd; read
// from the root that is 10001101.
//
// An update here only moves the updated leaf to the end of the run of leaves
// of count 1 (to nodes 313, 312, 311 in turn), and no inner node changes
// place in these four updates, so the leaves of 'O' (79), 'K' (75) and 256
// keep their start nodes and codes:
//   'O' = 79: 79 353 490 559 593 610 619 623 625   -> 111011011
//   'K' = 75: 75 351 489 558 593 610 619 623 625   -> 111010111
//   256 (length 3): 256 442 535 581 604 616 622 625 -> 10001100
//
// A position p = distance - 1 is a prefix for p >> 6 (the first-byte bands)
// and the six low bits of p plainly:
//   distance 100, p = 99 = 1 * 64 + 35: band of 1 is 0010 (bytes 32-47,
//   four bits), then 100011
//   distance 2, p = 1: band of 0 is 000 (bytes 0-31, three bits), then 000001
//
// The symbols: match length 4 at distance 100 (four preset spaces), 'O',
// 'K', match length 3 at distance 2 (O K O, overlapping):
//   10001101 0010100011 | 111011011 | 111010111 | 10001100 000000001
// 53 bits, padded with zeros to 7 bytes:
//   10001101 00101000 11111011 01111101 01111000 11000000 00001000
//   8D       28       FB       7D       78       C0       08
TEST(LZHDecoder, StreamDerivedByHandFromTheFormat)
{
    const std::vector<uint8_t> packed = {0x09, 0x00, 0x00, 0x00, 0x8D, 0x28, 0xFB, 0x7D, 0x78, 0xC0, 0x08};
    EXPECT_EQ(Decode(packed), "    OKOKO");
}

TEST(LZHDecoder, FirstMatchesCopyThePresetSpaces)
{
    THandStream s;
    s.Match(5, 10);
    s.Symbol('A');
    s.Match(3, 1); // distance 1 repeats the 'A'
    EXPECT_EQ(Decode(s.Bytes(9)), "     AAAA");
}

TEST(LZHDecoder, OverlappingMatchRepeatsRecentBytes)
{
    THandStream s;
    s.Symbol('a');
    s.Symbol('b');
    s.Match(10, 2);
    EXPECT_EQ(Decode(s.Bytes(12)), "abababababab");
}

TEST(LZHDecoder, MatchStartedBeforeTheSizeIsCopiedWhole)
{
    THandStream s;
    s.Symbol('q');
    s.Match(20, 1);
    EXPECT_EQ(Decode(s.Bytes(5)), std::string(21, 'q'));
}

TEST(LZHDecoder, PositionTablesFollowTheBandRule)
{
    const TLZHPositionTables& t = LZHPositionTables();
    struct Band { int firstIndex, upperFirst, upperLast, perValue, len; };
    const Band bands[] = {{0, 0, 0, 32, 3}, {32, 1, 3, 16, 4}, {80, 4, 11, 8, 5}, {144, 12, 23, 4, 6}, {192, 24, 47, 2, 7}, {240, 48, 63, 1, 8}};
    for (const Band& b : bands)
        for (int v = b.upperFirst; v <= b.upperLast; ++v)
            for (int k = 0; k < b.perValue; ++k) {
                const int i = b.firstIndex + (v - b.upperFirst) * b.perValue + k;
                EXPECT_EQ(t.d_code[i], v) << i;
                EXPECT_EQ(t.d_len[i], b.len) << i;
            }
}

struct CountingSource {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
    int calls = 0;
    int pastEnd = 0;
    static void Get(void* ctx, uint8_t* buffer, uint16_t count, uint16_t& read)
    {
        auto* self = static_cast<CountingSource*>(ctx);
        ++self->calls;
        EXPECT_EQ(count, 1);
        if (self->pos >= self->bytes->size()) {
            ++self->pastEnd;
            read = 0;
            return;
        }
        *buffer = (*self->bytes)[self->pos++];
        read = 1;
    }
};

struct StringSink {
    std::string out;
    static void Put(void* ctx, const uint8_t* buffer, uint16_t count, uint16_t& written)
    {
        EXPECT_EQ(count, 1);
        static_cast<StringSink*>(ctx)->out.append(reinterpret_cast<const char*>(buffer), count);
        written = count;
    }
};

TEST(LZHDecoder, TruncatedInputReadsZeroBitsUntilTheSizeIsReached)
{
    const std::string plain = Text(20000);
    std::vector<uint8_t> packed = TLZHEncoder::Pack(plain);
    std::vector<uint8_t> half(packed.begin() + 4, packed.begin() + 4 + static_cast<long>(packed.size() / 2));
    CountingSource source{&half};
    StringSink sink;
    TLZH lzh;
    lzh.Decode(static_cast<int32_t>(plain.size()), StringSink::Put, &sink, CountingSource::Get, &source);
    ASSERT_GE(sink.out.size(), plain.size());
    EXPECT_LT(sink.out.size(), plain.size() + lzh::LookAhead);
    EXPECT_GT(source.pastEnd, 0);
    const size_t goodPrefix = half.size(); // at least this much came from real bits
    EXPECT_EQ(sink.out.substr(0, goodPrefix), plain.substr(0, goodPrefix));
}

TEST(LZHDecoder, EmptyInputStillProducesTheRequestedSize)
{
    const std::vector<uint8_t> nothing;
    CountingSource source{&nothing};
    StringSink sink;
    TLZH().Decode(1000, StringSink::Put, &sink, CountingSource::Get, &source);
    EXPECT_GE(sink.out.size(), 1000u);
}

TEST(LZHDecoder, SizeZeroOrNegativeReadsNothing)
{
    const std::vector<uint8_t> bytes = {1, 2, 3};
    for (const int32_t size : {0, -5}) {
        CountingSource source{&bytes};
        StringSink sink;
        TLZH().Decode(size, StringSink::Put, &sink, CountingSource::Get, &source);
        EXPECT_EQ(source.calls, 0);
        EXPECT_TRUE(sink.out.empty());
    }
}

TEST(LZHDecoder, ExactSourceReadsOneBytePastTheEnd)
{
    const std::string plain = Text(3000);
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(plain);
    const std::vector<uint8_t> body(packed.begin() + 4, packed.end());
    CountingSource source{&body};
    StringSink sink;
    TLZH().Decode(static_cast<int32_t>(plain.size()), StringSink::Put, &sink, CountingSource::Get, &source);
    EXPECT_EQ(sink.out, plain);
    EXPECT_LE(source.pastEnd, 2);
}

TEST(LZHDecoder, SinkErrorsPropagate)
{
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(Text(1000));
    const std::vector<uint8_t> body(packed.begin() + 4, packed.end());
    CountingSource source{&body};
    auto failing = [](void*, const uint8_t*, uint16_t, uint16_t&) { throw EWriteError(SWriteError); };
    TLZH lzh;
    EXPECT_THROW(lzh.Decode(1000, failing, nullptr, CountingSource::Get, &source), EWriteError);
    // The same object decodes again after the failure.
    CountingSource again{&body};
    StringSink sink;
    lzh.Decode(1000, StringSink::Put, &sink, CountingSource::Get, &again);
    EXPECT_EQ(sink.out, Text(1000));
}

TEST(LZHDecoder, ReadPackedReportsWhatRemains)
{
    TMemoryStream in;
    in.WriteString("abc");
    in.SetPosition(1);
    TLZH lzh;
    lzh.InputStream = &in;
    uint8_t buffer[8] = {};
    uint16_t got = 99;
    TLZH::ReadPacked(&lzh, buffer, 8, got);
    EXPECT_EQ(got, 2);
    EXPECT_EQ(buffer[0], 'b');
    TLZH::ReadPacked(&lzh, buffer, 1, got);
    EXPECT_EQ(got, 0);
}

TEST(LZHTree, ReconstructHalvesTheCountsAndKeepsTheTreeConsistent)
{
    TLZHTree tree;
    tree.StartHuff();
    std::mt19937 rng(5);
    bool rebuilt = false;
    for (int n = 0; n < 200000; ++n) {
        const uint16_t before = tree.freq[lzh::Root];
        tree.Update(static_cast<int>(rng() % 40) * 7 % lzh::SymbolCount);
        if (before == lzh::MaxFreq) {
            rebuilt = true;
            EXPECT_LT(tree.freq[lzh::Root], lzh::MaxFreq / 2 + lzh::SymbolCount);
        }
    }
    EXPECT_TRUE(rebuilt);
    for (int i = 0; i + 1 < lzh::TreeSize; ++i)
        EXPECT_LE(tree.freq[i], tree.freq[i + 1]) << i;
    for (int i = 0; i < lzh::TreeSize; ++i) {
        const int s = tree.son[i];
        EXPECT_EQ(tree.prnt[s], i);
        if (s < lzh::TreeSize) {
            EXPECT_EQ(tree.prnt[s + 1], i);
            EXPECT_EQ(tree.freq[i], tree.freq[s] + tree.freq[s + 1]);
        }
    }
}

} // namespace
} // namespace orbelin
