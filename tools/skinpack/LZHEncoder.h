#pragma once
// Packer for skins: the counterpart of TLZH. Finds the longest earlier match
// in the 4096-byte ring (binary search trees over the ring positions) and
// codes literals, lengths and distances exactly as the decoder reads them.

#include "skin/data/LZHTree.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orbelin {

class TLZHEncoder {
public:
    // Packed skin: 32-bit little-endian plain size, then the bit stream.
    static std::vector<uint8_t> Pack(std::string_view plain);

private:
    explicit TLZHEncoder(std::string_view plain) : FInput(plain) {}
    void Run();
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void EncodeChar(int symbol);
    void EncodePosition(int position);
    void PutBits(unsigned value, int count); // count low bits of value, most significant first
    void Flush();
    int NextByte();

    static constexpr int Nil = lzh::RingSize;

    std::string_view FInput;
    size_t FInputPos = 0;
    std::vector<uint8_t> FOut;
    uint32_t FBitBuffer = 0;
    int FBitCount = 0;

    TLZHTree FTree;
    std::vector<uint8_t> FText = std::vector<uint8_t>(lzh::RingSize + lzh::LookAhead - 1);
    std::vector<int> FLeft = std::vector<int>(lzh::RingSize + 1);
    std::vector<int> FRight = std::vector<int>(lzh::RingSize + 257);
    std::vector<int> FParent = std::vector<int>(lzh::RingSize + 1);
    int FMatchPosition = 0;
    int FMatchLength = 0;
};

} // namespace orbelin
