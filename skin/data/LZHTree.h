#pragma once
// The adaptive Huffman model of the LZHUF scheme: 314 symbols (256 literal
// bytes and 58 match lengths) in a tree of 627 nodes kept in three arrays.
// The decoder and our packer share it, so both sides adapt identically.

#include <array>
#include <cstdint>

namespace orbelin {

namespace lzh {
inline constexpr int RingSize = 4096;         // N
inline constexpr int RingMask = RingSize - 1;
inline constexpr int LookAhead = 60;          // F
inline constexpr int Threshold = 2;
inline constexpr int SymbolCount = 256 - Threshold + LookAhead; // 314
inline constexpr int TreeSize = SymbolCount * 2 - 1;            // T = 627
inline constexpr int Root = TreeSize - 1;                       // R = 626
inline constexpr uint16_t MaxFreq = 0x8000;
inline constexpr int FirstRingPosition = RingSize - LookAhead;  // 4036
inline constexpr uint8_t PresetByte = 0x20;
} // namespace lzh

struct TLZHTree {
    std::array<uint16_t, lzh::TreeSize + 1> freq{};          // last entry is a 0xFFFF sentinel
    std::array<int16_t, lzh::TreeSize + lzh::SymbolCount> prnt{}; // [T + s] is the leaf of symbol s
    std::array<int16_t, lzh::TreeSize> son{};                // >= T: leaf of symbol son - T

    void StartHuff();
    void Reconstruct();
    // Counts one more occurrence of symbol and keeps the tree ordered.
    void Update(int symbol);
};

// Position code of the upper six bits of a 12-bit match distance: the
// d_code/d_len tables indexed by the first 8 bits, and their inverse.
struct TLZHPositionTables {
    std::array<uint8_t, 256> d_code{};
    std::array<uint8_t, 256> d_len{};
    std::array<uint8_t, 64> p_code{}; // first byte value that starts each upper value
    std::array<uint8_t, 64> p_len{};  // bit length of that prefix
};
const TLZHPositionTables& LZHPositionTables();

} // namespace orbelin
