// The decoder on arbitrary bytes: the first two bytes give the output size
// (below 1024), the rest is the bit stream.
#include "base/Streams.h"
#include "skin/data/LZH.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int32_t plainSize = data[0] | (data[1] & 0x03) << 8; // at most 1023 bytes out
    orbelin::TMemoryStream in;
    const uint8_t header[4] = {data[0], static_cast<uint8_t>(data[1] & 0x03), 0, 0};
    in.WriteBuffer(header, 4);
    in.WriteBuffer(data + 2, static_cast<int64_t>(size - 2));
    orbelin::TMemoryStream out;
    orbelin::TLZH::Unpack(in, out);
    if (out.Size() < plainSize || out.Size() >= plainSize + 60)
        __builtin_trap();
    return 0;
}
