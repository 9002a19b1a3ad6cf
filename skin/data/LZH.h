#pragma once
// Decoder of packed skins: LZSS over a 4096-byte ring whose literals and
// match lengths carry an adaptive Huffman code and whose match distances
// carry a fixed prefix code for the upper six bits (the LZHUF scheme).

#include "base/Exceptions.h"
#include "skin/data/LZHTree.h"

#include <cstdint>
#include <memory>

namespace orbelin {

class TStream;

namespace lzh {
// A coded match takes at least 10 bits and yields at most 60 bytes, so no
// honest stream expands more than 48 times.
inline constexpr int64_t MaxExpansion = 48;
// The most plain bytes a bit stream of streamBytes bytes can decode to;
// a plain size beyond it is a damaged or hostile size word.
constexpr int64_t MaxPlainSize(int64_t streamBytes) { return streamBytes * MaxExpansion + LookAhead; }
} // namespace lzh

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SLZHNoMemory = "LZH : Cannot get memory for dictionary tables";
inline constexpr const char* SLZHFreeError = "LZH : Error freeing memory for dictionary tables";

// Byte source and sink of the decoder; counts are 16-bit as the format's
// callers pass them.
using TLZHGetBytes = void (*)(void* context, uint8_t* buffer, uint16_t count, uint16_t& readCount);
using TLZHPutBytes = void (*)(void* context, const uint8_t* buffer, uint16_t count, uint16_t& writtenCount);

class TLZH {
public:
    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Borrowed from the caller; ReadPacked and WritePlain move bytes between them.
    TStream* InputStream = nullptr;
    TStream* OutputStream = nullptr;

    // Produces exactly size bytes (nothing for size <= 0). Input that ends
    // early reads as zero bits; corrupt input is not detected.
    void Decode(int32_t size, TLZHPutBytes put, void* putContext, TLZHGetBytes get, void* getContext);

    // Stream source and sink; context is the TLZH.
    static void ReadPacked(void* context, uint8_t* buffer, uint16_t count, uint16_t& readCount);
    static void WritePlain(void* context, const uint8_t* buffer, uint16_t count, uint16_t& writtenCount);

    // The whole unpacking order: both streams to 0, the 32-bit plain size
    // from packed, then that many bytes decoded into plain.
    static void Unpack(TStream& packed, TStream& plain);
    // The little-endian plain size word at packed's position.
    static int32_t ReadPlainSize(TStream& packed);

private:
    struct Tables;

    int GetBit();
    int GetByte();
    void FillBits();
    int DecodeChar();
    int DecodePosition();

    TLZHGetBytes FGet = nullptr;
    void* FGetContext = nullptr;
    uint16_t FBitBuffer = 0;
    uint8_t FBitCount = 0;
    std::unique_ptr<Tables> FTables; // exists only inside Decode
    int64_t FInputRemaining = -1;    // ReadPacked's count of input left; -1 before the first read
    TStream* FInputFor = nullptr;
};

} // namespace orbelin
