#include "skin/data/LZH.h"

#include "base/ByteReader.h"
#include "base/ScopeExit.h"
#include "base/Streams.h"

#include <algorithm>
#include <new>

namespace orbelin {

using namespace lzh;

struct TLZH::Tables {
    uint8_t ring[RingSize + LookAhead - 1];
    TLZHTree tree;
    // Search trees of the packing side; allocated with the rest, unused here.
    int16_t lson[RingSize + 1];
    int16_t rson[RingSize + 257];
    int16_t dad[RingSize + 1];
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::FillBits()
{
    // At most one byte per call: the count is 9..16 afterwards.
    while (FBitCount <= 8) {
        uint8_t byte = 0;
        uint16_t got = 0;
        FGet(FGetContext, &byte, 1, got);
        if (got != 1)
            byte = 0; // past the end of the input: zero bits forever
        FBitBuffer = static_cast<uint16_t>(FBitBuffer | (byte << (8 - FBitCount)));
        FBitCount = static_cast<uint8_t>(FBitCount + 8);
    }
}

int TLZH::GetBit()
{
    FillBits();
    const int bit = FBitBuffer >> 15;
    FBitBuffer = static_cast<uint16_t>(FBitBuffer << 1);
    --FBitCount;
    return bit;
}

int TLZH::GetByte()
{
    FillBits();
    const int byte = FBitBuffer >> 8;
    FBitBuffer = static_cast<uint16_t>(FBitBuffer << 8);
    FBitCount = static_cast<uint8_t>(FBitCount - 8);
    return byte;
}

int TLZH::DecodeChar()
{
    // GetBit with the bit state held in locals for the walk down the tree.
    TLZHTree& t = FTables->tree;
    unsigned buffer = FBitBuffer;
    unsigned count = FBitCount;
    int c = t.son[Root];
    while (c < TreeSize) {
        if (count <= 8) {
            FBitBuffer = static_cast<uint16_t>(buffer);
            FBitCount = static_cast<uint8_t>(count);
            FillBits();
            buffer = FBitBuffer;
            count = FBitCount;
        }
        c = t.son[c + static_cast<int>((buffer >> 15) & 1)];
        buffer = (buffer << 1) & 0xFFFF;
        --count;
    }
    FBitBuffer = static_cast<uint16_t>(buffer);
    FBitCount = static_cast<uint8_t>(count);
    c -= TreeSize;
    t.Update(c);
    return c;
}

int TLZH::DecodePosition()
{
    const TLZHPositionTables& p = LZHPositionTables();
    unsigned i = static_cast<unsigned>(GetByte());
    const unsigned upper = static_cast<unsigned>(p.d_code[i]) << 6;
    for (int j = p.d_len[i] - 2; j > 0; --j)
        i = ((i << 1) + static_cast<unsigned>(GetBit())) & 0xFFFF;
    return static_cast<int>(upper | (i & 0x3F));
}

void TLZH::Decode(int32_t size, TLZHPutBytes put, void* putContext, TLZHGetBytes get, void* getContext)
{
    FTables.reset(new (std::nothrow) Tables);
    if (!FTables)
        throw ElzhException(SLZHNoMemory);
    // The tables go on every way out, also when the sink raises.
    const TScopeExit release([this] { FTables.reset(); });

    FGet = get;
    FGetContext = getContext;
    FInputRemaining = -1;
    FBitBuffer = 0;
    FBitCount = 0;
    FTables->tree.StartHuff();
    uint8_t* ring = FTables->ring;
    for (int i = 0; i < FirstRingPosition; ++i)
        ring[i] = PresetByte;
    for (int i = FirstRingPosition; i < RingSize + LookAhead - 1; ++i)
        ring[i] = 0;

    int r = FirstRingPosition;
    uint16_t written = 0;
    for (int64_t count = 0; count < size;) {
        const int c = DecodeChar();
        if (c < 256) {
            const uint8_t b = static_cast<uint8_t>(c);
            put(putContext, &b, 1, written);
            ring[r] = b;
            r = (r + 1) & RingMask;
            ++count;
            continue;
        }
        // A match is copied whole even past the requested size; the copy
        // goes byte by byte because its source may overlap what it writes.
        const int start = (r - DecodePosition() - 1) & RingMask;
        const int length = c - 255 + Threshold;
        for (int k = 0; k < length; ++k) {
            const uint8_t b = ring[(start + k) & RingMask];
            put(putContext, &b, 1, written);
            ring[r] = b;
            r = (r + 1) & RingMask;
            ++count;
        }
    }
}

void TLZH::ReadPacked(void* context, uint8_t* buffer, uint16_t count, uint16_t& readCount)
{
    TLZH& self = *static_cast<TLZH*>(context);
    TStream& in = *self.InputStream;
    // What remains is taken from the stream once per decode; only this
    // source moves the input while the decoder runs.
    if (self.FInputRemaining < 0 || self.FInputFor != &in) {
        self.FInputRemaining = std::max<int64_t>(in.Size() - in.Position(), 0);
        self.FInputFor = &in;
    }
    readCount = count;
    if (self.FInputRemaining < static_cast<int64_t>(count))
        readCount = static_cast<uint16_t>(self.FInputRemaining);
    if (in.Read(buffer, readCount) != readCount)
        throw EReadError(SReadError);
    self.FInputRemaining -= readCount;
}

void TLZH::WritePlain(void* context, const uint8_t* buffer, uint16_t count, uint16_t& writtenCount)
{
    writtenCount = count;
    if (static_cast<TLZH*>(context)->OutputStream->Write(buffer, count) != count)
        throw EWriteError(SWriteError);
}

void TLZH::Unpack(TStream& packed, TStream& plain)
{
    TLZH lzh;
    lzh.InputStream = &packed;
    lzh.OutputStream = &plain;
    packed.SetPosition(0);
    plain.SetPosition(0);
    const int32_t size = ReadPlainSize(packed);
    // Room for the output up front, so the byte-by-byte sink does not grow
    // the stream on every byte; bounded by what the input can expand to.
    const int64_t room = std::min<int64_t>(size, MaxPlainSize(packed.Size() - packed.Position()));
    if (room > plain.Size())
        plain.SetSize(room);
    lzh.Decode(size, WritePlain, &lzh, ReadPacked, &lzh);
}

int32_t TLZH::ReadPlainSize(TStream& packed)
{
    uint8_t word[4];
    packed.ReadBuffer(word, 4);
    return TByteReader(std::span<const uint8_t>(word)).I32(0);
}

} // namespace orbelin
