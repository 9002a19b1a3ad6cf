#include "skin/data/SkinBitmap.h"

#include "base/ByteReader.h"
#include "base/Streams.h"

#include <algorithm>
#include <bit>

namespace orbelin {

namespace {

[[noreturn]] void Invalid() { throw ESkinBitmapError(SInvalidBitmap); }

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr size_t FileHeaderSize = 14;

struct TBmpInfo {
    size_t HeaderSize = 0;
    int Width = 0;
    int Height = 0; // absolute
    bool TopDown = false;
    int Bits = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ColorsUsed = 0;
    uint32_t Masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    size_t PaletteAt = 0;
    int PaletteEntrySize = 4;
};

bool IsKnownHeaderSize(uint32_t size)
{
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

TBmpInfo ReadInfo(const TByteReader& in)
{
    if (in.U8(0) != 'B' || in.U8(1) != 'M')
        Invalid();
    TBmpInfo info;
    const uint32_t headerSize = in.U32(FileHeaderSize);
    if (!IsKnownHeaderSize(headerSize))
        Invalid();
    info.HeaderSize = headerSize;
    const size_t h = FileHeaderSize;
    int64_t height = 0;
    uint32_t planes = 0;
    if (headerSize == 12) {
        info.Width = static_cast<int>(in.U16(h + 4));
        height = in.U16(h + 6);
        planes = in.U16(h + 8);
        info.Bits = static_cast<int>(in.U16(h + 10));
        info.PaletteEntrySize = 3;
    } else {
        const int32_t width = in.I32(h + 4);
        if (width <= 0 || width > 65535)
            Invalid();
        info.Width = width;
        height = in.I32(h + 8);
        planes = in.U16(h + 12);
        info.Bits = static_cast<int>(in.U16(h + 14));
        info.Compression = in.U32(h + 16);
        info.ColorsUsed = in.U32(h + 32);
    }
    info.TopDown = height < 0;
    height = height < 0 ? -height : height;
    if (planes != 1 || info.Width <= 0 || height <= 0 || height > 65535)
        Invalid();
    info.Height = static_cast<int>(height);
    if (static_cast<int64_t>(info.Width) * info.Height > TSkinBitmap::MaxPixels)
        Invalid();

    info.PaletteAt = FileHeaderSize + headerSize;
    switch (info.Bits) {
    case 1: case 4: case 8:
        if (info.Compression != BI_RGB || info.ColorsUsed > (1u << info.Bits))
            Invalid();
        if (info.ColorsUsed == 0)
            info.ColorsUsed = 1u << info.Bits;
        break;
    case 24:
        if (info.Compression != BI_RGB)
            Invalid();
        info.ColorsUsed = 0;
        break;
    case 32:
        if (info.Compression == BI_BITFIELDS) {
            const size_t at = headerSize >= 52 ? FileHeaderSize + 40 : info.PaletteAt;
            for (int i = 0; i < 3; ++i)
                info.Masks[i] = in.U32(at + 4 * static_cast<size_t>(i));
            info.Masks[3] = headerSize >= 56 ? in.U32(at + 12) : 0;
            if (headerSize == 40)
                info.PaletteAt += 12;
        } else if (info.Compression != BI_RGB) {
            Invalid();
        }
        info.ColorsUsed = 0;
        break;
    default:
        Invalid();
    }
    return info;
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
int Channel(uint32_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t field = (value & mask) >> shift;
    const uint32_t max = mask >> shift;
    return static_cast<int>(max == 255 ? field : static_cast<uint64_t>(field) * 255 / max);
}

} // namespace

TSkinBitmap::TSkinBitmap(int width, int height, int bitsPerPixel, TSkinPixel fill) : FBitsPerPixel(bitsPerPixel)
{
    SetSize(width, height, fill);
}

uint64_t TSkinBitmap::Serial() const
{
    static uint64_t last = 0;
    if (FSerial == 0)
        FSerial = ++last;
    return FSerial;
}

void TSkinBitmap::Clear()
{
    FSerial = 0;
    FWidth = FHeight = 0;
    FPixels.clear();
}

void TSkinBitmap::SetSize(int width, int height, TSkinPixel fill)
{
    FSerial = 0;
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    FWidth = width;
    FHeight = height;
    FPixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

void TSkinBitmap::LoadFromStream(TStream& stream)
{
    const int64_t remaining = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(std::max<int64_t>(remaining, 0)), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    LoadFromBytes(bytes);
}

void TSkinBitmap::LoadFromBytes(std::string_view bytes)
{
    try {
        Decode(TByteReader(bytes));
    } catch (const EReadError&) {
        Invalid(); // a field or the pixels reach past the end of the file
    }
}

void TSkinBitmap::Decode(const TByteReader& in)
{
    const TBmpInfo info = ReadInfo(in);

    std::vector<TSkinPixel> palette(info.ColorsUsed);
    const uint8_t* pal =
        in.Bytes(info.PaletteAt, static_cast<uint64_t>(info.ColorsUsed) * static_cast<uint64_t>(info.PaletteEntrySize)).data();
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint8_t* e = pal + i * static_cast<size_t>(info.PaletteEntrySize);
        palette[i] = RGBPixel(e[2], e[1], e[0]);
    }

    const uint64_t stride = ((static_cast<uint64_t>(info.Width) * static_cast<uint64_t>(info.Bits) + 31) / 32) * 4;
    const uint32_t offBits = in.U32(10);
    const size_t dataAt = offBits != 0 ? offBits : info.PaletteAt + palette.size() * static_cast<size_t>(info.PaletteEntrySize);
    const uint8_t* data = in.Bytes(dataAt, stride * static_cast<uint64_t>(info.Height)).data();

    std::vector<TSkinPixel> pixels(static_cast<size_t>(info.Width) * static_cast<size_t>(info.Height));
    for (int row = 0; row < info.Height; ++row) {
        const uint8_t* src = data + stride * static_cast<uint64_t>(row);
        const int y = info.TopDown ? row : info.Height - 1 - row;
        TSkinPixel* dst = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(info.Width);
        for (int x = 0; x < info.Width; ++x) {
            switch (info.Bits) {
            case 1: case 4: case 8: {
                const int bitPos = x * info.Bits;
                const unsigned byte = src[bitPos / 8];
                const unsigned index = (byte >> (8 - info.Bits - bitPos % 8)) & ((1u << info.Bits) - 1);
                dst[x] = index < palette.size() ? palette[index] : 0; // indices past a short palette read as black
                break;
            }
            case 24:
                dst[x] = RGBPixel(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const uint32_t v = LittleEndian32(src + 4 * x);
                dst[x] = RGBPixel(Channel(v, info.Masks[0]), Channel(v, info.Masks[1]), Channel(v, info.Masks[2])) |
                         static_cast<TSkinPixel>(Channel(v, info.Masks[3])) << 24;
            }
            }
        }
    }
    FWidth = info.Width;
    FHeight = info.Height;
    FBitsPerPixel = info.Bits;
    FPixels = std::move(pixels);
    FSerial = 0;
}

void TSkinBitmap::SaveToStream(TStream& stream) const
{
    const int bits = FBitsPerPixel == 1 || FBitsPerPixel == 32 ? FBitsPerPixel : 24;
    const uint32_t paletteSize = bits == 1 ? 8 : 0;
    const uint32_t stride = ((static_cast<uint32_t>(FWidth) * static_cast<uint32_t>(bits) + 31) / 32) * 4;
    const uint32_t dataSize = stride * static_cast<uint32_t>(FHeight);
    const uint32_t offBits = 14 + 40 + paletteSize;
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) { out.push_back(static_cast<uint8_t>(v)); out.push_back(static_cast<uint8_t>(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    put32(offBits + dataSize);
    put32(0);
    put32(offBits);
    put32(40);
    put32(static_cast<uint32_t>(FWidth));
    put32(static_cast<uint32_t>(FHeight));
    put16(1);
    put16(static_cast<uint32_t>(bits));
    put32(BI_RGB);
    put32(dataSize);
    put32(2835);
    put32(2835);
    put32(bits == 1 ? 2 : 0);
    put32(0);
    if (bits == 1) {
        put32(0x000000);
        put32(0xFFFFFF);
    }
    for (int y = FHeight - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < FWidth; ++x) {
            const TSkinPixel p = Pixel(x, y);
            if (bits == 1) {
                const int lum = static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
                if (lum >= 3 * 128)
                    row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else {
                const size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
                row[at] = static_cast<uint8_t>(p);
                row[at + 1] = static_cast<uint8_t>(p >> 8);
                row[at + 2] = static_cast<uint8_t>(p >> 16);
                if (bits == 32)
                    row[at + 3] = static_cast<uint8_t>(p >> 24);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

TSkinBitmap TSkinBitmap::CopyRect(int left, int top, int right, int bottom) const
{
    left = std::clamp(left, 0, FWidth);
    right = std::clamp(right, 0, FWidth);
    top = std::clamp(top, 0, FHeight);
    bottom = std::clamp(bottom, 0, FHeight);
    TSkinBitmap out(right - left, bottom - top, FBitsPerPixel);
    for (int y = 0; y < out.FHeight; ++y)
        for (int x = 0; x < out.FWidth; ++x)
            out.SetPixel(x, y, Pixel(left + x, top + y));
    return out;
}

void TSkinBitmap::MirrorHorizontal()
{
    FSerial = 0;
    for (int y = 0; y < FHeight; ++y) {
        auto row = FPixels.begin() + static_cast<std::ptrdiff_t>(Index(0, y));
        std::reverse(row, row + FWidth);
    }
}

void TSkinBitmap::ConvertTo24Bits()
{
    FSerial = 0;
    for (TSkinPixel& p : FPixels)
        p &= 0x00FFFFFF;
    FBitsPerPixel = 24;
}

void TSkinBitmap::ConvertTo32Bits()
{
    FSerial = 0;
    // Images without alpha become opaque.
    if (FBitsPerPixel != 32)
        for (TSkinPixel& p : FPixels)
            p |= 0xFF000000;
    FBitsPerPixel = 32;
}

} // namespace orbelin
