// The BMP reader on arbitrary bytes, then the operations the store applies.
#include "skin/data/SkinBitmap.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    orbelin::TSkinBitmap bitmap;
    try {
        bitmap.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const orbelin::ESkinBitmapError&) {
        return 0;
    }
    orbelin::TSkinBitmap part = bitmap.CopyRect(1, 1, bitmap.Width() / 2 + 1, bitmap.Height());
    part.MirrorHorizontal();
    part.ConvertTo24Bits();
    return 0;
}
