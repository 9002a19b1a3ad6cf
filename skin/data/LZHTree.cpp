#include "skin/data/LZHTree.h"

namespace orbelin {

using namespace lzh;

void TLZHTree::StartHuff()
{
    for (int i = 0; i < SymbolCount; ++i) {
        freq[i] = 1;
        son[i] = static_cast<int16_t>(i + TreeSize);
        prnt[i + TreeSize] = static_cast<int16_t>(i);
    }
    for (int i = 0, j = SymbolCount; j <= Root; i += 2, ++j) {
        freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
        son[j] = static_cast<int16_t>(i);
        prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
    }
    freq[TreeSize] = 0xFFFF;
    prnt[Root] = 0;
}

void TLZHTree::Reconstruct()
{
    // Leaves first, in node order, with halved counts.
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (son[i] >= TreeSize) {
            freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
            son[j] = son[i];
            ++j;
        }
    }
    // Internal nodes, each inserted where the frequencies stay sorted.
    for (int i = 0, k2 = SymbolCount; k2 < TreeSize; i += 2, ++k2) {
        const uint16_t f = static_cast<uint16_t>(freq[i] + freq[i + 1]);
        int k = k2 - 1;
        while (f < freq[k])
            --k;
        ++k;
        for (int m = k2; m > k; --m) {
            freq[m] = freq[m - 1];
            son[m] = son[m - 1];
        }
        freq[k] = f;
        son[k] = static_cast<int16_t>(i);
    }
    for (int i = 0; i < TreeSize; ++i) {
        const int k = son[i];
        prnt[k] = static_cast<int16_t>(i);
        if (k < TreeSize)
            prnt[k + 1] = static_cast<int16_t>(i);
    }
}

void TLZHTree::Update(int symbol)
{
    if (freq[Root] == MaxFreq)
        Reconstruct();
    int c = prnt[symbol + TreeSize];
    do {
        const uint16_t k = ++freq[c];
        if (k > freq[c + 1]) {
            // Move c past every node of smaller count; the sentinel ends the walk.
            int l = c + 1;
            while (k > freq[l + 1])
                ++l;
            freq[c] = freq[l];
            freq[l] = k;

            const int i = son[c];
            prnt[i] = static_cast<int16_t>(l);
            if (i < TreeSize)
                prnt[i + 1] = static_cast<int16_t>(l);
            const int j = son[l];
            son[l] = static_cast<int16_t>(i);
            prnt[j] = static_cast<int16_t>(c);
            if (j < TreeSize)
                prnt[j + 1] = static_cast<int16_t>(c);
            son[c] = static_cast<int16_t>(j);
            c = l;
        }
        c = prnt[c];
    } while (c != 0);
}

namespace {

TLZHPositionTables BuildPositionTables()
{
    // Upper values 0..63 take prefixes of 3 to 8 bits; shorter prefixes
    // (nearer distances) cover more first-byte values.
    struct Band { int first, last, len; };
    constexpr Band bands[] = {{0, 0, 3}, {1, 3, 4}, {4, 11, 5}, {12, 23, 6}, {24, 47, 7}, {48, 63, 8}};
    TLZHPositionTables t;
    int index = 0;
    for (const Band& b : bands) {
        const int per = 1 << (8 - b.len);
        for (int v = b.first; v <= b.last; ++v) {
            t.p_code[v] = static_cast<uint8_t>(index);
            t.p_len[v] = static_cast<uint8_t>(b.len);
            for (int k = 0; k < per; ++k, ++index) {
                t.d_code[index] = static_cast<uint8_t>(v);
                t.d_len[index] = static_cast<uint8_t>(b.len);
            }
        }
    }
    return t;
}

} // namespace

const TLZHPositionTables& LZHPositionTables()
{
    static const TLZHPositionTables tables = BuildPositionTables();
    return tables;
}

} // namespace orbelin
