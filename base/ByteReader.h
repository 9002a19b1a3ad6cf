#pragma once
// Little-endian fields of a block of bytes, read at given offsets. Every read
// is checked against the end of the block: one that would reach past it
// raises EReadError, so a lying length or offset in outside data can never
// read beyond what is there.

#include "base/Exceptions.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace orbelin {

// Four bytes the caller has already bounded, least significant first.
inline uint32_t LittleEndian32(const uint8_t* p)
{
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

class TByteReader {
public:
    explicit TByteReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}
    explicit TByteReader(std::string_view bytes)
        : FBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
    {
    }

    size_t Size() const { return FBytes.size(); }

    uint8_t U8(size_t at) const { return Bytes(at, 1)[0]; }
    uint16_t U16(size_t at) const
    {
        const auto b = Bytes(at, 2);
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t U32(size_t at) const { return LittleEndian32(Bytes(at, 4).data()); }
    int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }

    std::span<const uint8_t> Bytes(size_t at, uint64_t count) const
    {
        if (at > FBytes.size() || count > FBytes.size() - at)
            throw EReadError(SReadError);
        return FBytes.subspan(at, static_cast<size_t>(count));
    }
    std::string_view Text(size_t at, uint64_t count) const
    {
        const auto b = Bytes(at, count);
        return {reinterpret_cast<const char*>(b.data()), b.size()};
    }

private:
    std::span<const uint8_t> FBytes;
};

} // namespace orbelin
