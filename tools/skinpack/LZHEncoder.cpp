#include "tools/skinpack/LZHEncoder.h"

namespace orbelin {

using namespace lzh;

std::vector<uint8_t> TLZHEncoder::Pack(std::string_view plain)
{
    TLZHEncoder encoder(plain);
    const uint32_t size = static_cast<uint32_t>(plain.size());
    for (int i = 0; i < 4; ++i)
        encoder.FOut.push_back(static_cast<uint8_t>(size >> (8 * i)));
    if (!plain.empty())
        encoder.Run();
    return std::move(encoder.FOut);
}

int TLZHEncoder::NextByte()
{
    if (FInputPos >= FInput.size())
        return -1;
    return static_cast<uint8_t>(FInput[FInputPos++]);
}

void TLZHEncoder::InitTree()
{
    for (int i = RingSize + 1; i <= RingSize + 256; ++i)
        FRight[i] = Nil;
    for (int i = 0; i < RingSize; ++i)
        FParent[i] = Nil;
}

// Inserts the string at r into the tree of its first byte and leaves the
// longest match (nearest one among equals) in FMatchLength/FMatchPosition.
// A full-length match replaces the older node, which keeps trees small.
void TLZHEncoder::InsertNode(int r)
{
    int cmp = 1;
    const uint8_t* key = &FText[r];
    int p = RingSize + 1 + key[0];
    FRight[r] = FLeft[r] = Nil;
    FMatchLength = 0;
    for (;;) {
        if (cmp >= 0) {
            if (FRight[p] == Nil) {
                FRight[p] = r;
                FParent[r] = p;
                return;
            }
            p = FRight[p];
        } else {
            if (FLeft[p] == Nil) {
                FLeft[p] = r;
                FParent[r] = p;
                return;
            }
            p = FLeft[p];
        }
        int i = 1;
        for (; i < LookAhead; ++i)
            if ((cmp = key[i] - FText[p + i]) != 0)
                break;
        if (i > Threshold) {
            const int distance = ((r - p) & RingMask) - 1;
            if (i > FMatchLength) {
                FMatchPosition = distance;
                if ((FMatchLength = i) >= LookAhead)
                    break;
            } else if (i == FMatchLength && distance < FMatchPosition) {
                FMatchPosition = distance;
            }
        }
    }
    FParent[r] = FParent[p];
    FLeft[r] = FLeft[p];
    FRight[r] = FRight[p];
    FParent[FLeft[p]] = r;
    FParent[FRight[p]] = r;
    if (FRight[FParent[p]] == p)
        FRight[FParent[p]] = r;
    else
        FLeft[FParent[p]] = r;
    FParent[p] = Nil;
}

void TLZHEncoder::DeleteNode(int p)
{
    if (FParent[p] == Nil)
        return;
    int q;
    if (FRight[p] == Nil) {
        q = FLeft[p];
    } else if (FLeft[p] == Nil) {
        q = FRight[p];
    } else {
        q = FLeft[p];
        if (FRight[q] != Nil) {
            do
                q = FRight[q];
            while (FRight[q] != Nil);
            FRight[FParent[q]] = FLeft[q];
            FParent[FLeft[q]] = FParent[q];
            FLeft[q] = FLeft[p];
            FParent[FLeft[p]] = q;
        }
        FRight[q] = FRight[p];
        FParent[FRight[p]] = q;
    }
    FParent[q] = FParent[p];
    if (FRight[FParent[p]] == p)
        FRight[FParent[p]] = q;
    else
        FLeft[FParent[p]] = q;
    FParent[p] = Nil;
}

void TLZHEncoder::PutBits(unsigned value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        FBitBuffer = (FBitBuffer << 1) | ((value >> i) & 1u);
        if (++FBitCount == 8) {
            FOut.push_back(static_cast<uint8_t>(FBitBuffer));
            FBitBuffer = 0;
            FBitCount = 0;
        }
    }
}

void TLZHEncoder::Flush()
{
    if (FBitCount > 0)
        PutBits(0, 8 - FBitCount);
}

void TLZHEncoder::EncodeChar(int symbol)
{
    // Collect the path leaf to root, then send it root first. The depth is
    // not bounded by 16, so the bits go one at a time.
    uint8_t path[TreeSize];
    int depth = 0;
    for (int k = FTree.prnt[symbol + TreeSize]; k != Root; k = FTree.prnt[k])
        path[depth++] = static_cast<uint8_t>(k & 1); // right child sits at the odd index
    while (depth > 0)
        PutBits(path[--depth], 1);
    FTree.Update(symbol);
}

void TLZHEncoder::EncodePosition(int position)
{
    const TLZHPositionTables& t = LZHPositionTables();
    const int upper = position >> 6;
    PutBits(t.p_code[upper] >> (8 - t.p_len[upper]), t.p_len[upper]);
    PutBits(static_cast<unsigned>(position & 0x3F), 6);
}

void TLZHEncoder::Run()
{
    FTree.StartHuff();
    InitTree();
    int s = 0;
    int r = FirstRingPosition;
    for (int i = s; i < r; ++i)
        FText[i] = PresetByte;
    int len = 0;
    for (int c; len < LookAhead && (c = NextByte()) >= 0; ++len)
        FText[r + len] = static_cast<uint8_t>(c);
    for (int i = 1; i <= LookAhead; ++i)
        InsertNode(r - i);
    InsertNode(r);
    do {
        if (FMatchLength > len)
            FMatchLength = len;
        if (FMatchLength <= Threshold) {
            FMatchLength = 1;
            EncodeChar(FText[r]);
        } else {
            EncodeChar(255 - Threshold + FMatchLength);
            EncodePosition(FMatchPosition);
        }
        const int lastMatchLength = FMatchLength;
        int i = 0;
        for (int c; i < lastMatchLength && (c = NextByte()) >= 0; ++i) {
            DeleteNode(s);
            FText[s] = static_cast<uint8_t>(c);
            if (s < LookAhead - 1)
                FText[s + RingSize] = static_cast<uint8_t>(c); // mirror for compares past the ring end
            s = (s + 1) & RingMask;
            r = (r + 1) & RingMask;
            InsertNode(r);
        }
        for (; i < lastMatchLength; ++i) {
            DeleteNode(s);
            s = (s + 1) & RingMask;
            r = (r + 1) & RingMask;
            if (--len)
                InsertNode(r);
        }
    } while (len > 0);
    Flush();
}

} // namespace orbelin
