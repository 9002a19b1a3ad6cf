#pragma once
// A bitmap read from (and written as) a Windows BMP file, held as 32-bit
// pixels top row first. The Windows drawing code turns it into a GDI bitmap;
// everything here is portable.

#include "base/Exceptions.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orbelin {

class TStream;
class TByteReader;

class ESkinBitmapError : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";

// 0x00RRGGBB in the low 24 bits; the top byte is alpha for 32-bit images.
using TSkinPixel = uint32_t;

inline constexpr TSkinPixel RGBPixel(int r, int g, int b)
{
    return static_cast<TSkinPixel>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}
inline constexpr TSkinPixel MagentaPixel = RGBPixel(255, 0, 255);

class TSkinBitmap {
public:
    // Larger images are refused as damaged; no skin part comes near this.
    static constexpr int64_t MaxPixels = 16 * 1024 * 1024;

    TSkinBitmap() = default;
    TSkinBitmap(int width, int height, int bitsPerPixel = 24, TSkinPixel fill = 0);

    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Depth of the file it came from (1, 4, 8, 24, 32) or of the last conversion.
    int BitsPerPixel() const { return FBitsPerPixel; }
    const std::vector<TSkinPixel>& Pixels() const { return FPixels; }

    TSkinPixel Pixel(int x, int y) const { return FPixels[Index(x, y)]; }
    void SetPixel(int x, int y, TSkinPixel value)
    {
        FPixels[Index(x, y)] = value;
        FSerial = 0;
    }
    // A number no other content of any bitmap of the process had: device
    // copies of skin images are cached by it. Any change renews it.
    uint64_t Serial() const;

    void Clear();
    void SetSize(int width, int height, TSkinPixel fill = 0);

    // Reads a BMP file from the stream's position to its end. Malformed
    // headers or sizes raise ESkinBitmapError; the bitmap is left as it was.
    void LoadFromStream(TStream& stream);
    void LoadFromBytes(std::string_view bytes);
    // Writes a BMP of the current depth: 1 bit (black/white palette), 24 or
    // 32 bits; other depths are written with 24 bits.
    void SaveToStream(TStream& stream) const;

    // The rectangle (left, top)-(right, bottom), clipped to the image.
    TSkinBitmap CopyRect(int left, int top, int right, int bottom) const;
    // Each row's pixels in reverse order.
    void MirrorHorizontal();
    void ConvertTo24Bits();
    void ConvertTo32Bits();

    bool operator==(const TSkinBitmap& other) const
    {
        return FWidth == other.FWidth && FHeight == other.FHeight && FBitsPerPixel == other.FBitsPerPixel &&
               FPixels == other.FPixels;
    }

private:
    void Decode(const TByteReader& in);
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x); }

    int FWidth = 0;
    int FHeight = 0;
    int FBitsPerPixel = 24;
    std::vector<TSkinPixel> FPixels;
    mutable uint64_t FSerial = 0; // 0: not given out since the last change
};

} // namespace orbelin
