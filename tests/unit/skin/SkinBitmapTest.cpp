#include "base/Streams.h"
#include "skin/data/SkinBitmap.h"
#include "skin/data/SkinMenuGlyphs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orbelin {
namespace {

// A BMP file assembled field by field, so that tests can make it lie.
struct TBmpSpec {
    uint32_t HeaderSize = 40;
    int32_t Width = 2;
    int32_t Height = 2;
    uint16_t Planes = 1;
    uint16_t Bits = 24;
    uint32_t Compression = 0;
    uint32_t ColorsUsed = 0;
    std::vector<uint32_t> Palette;  // 0x00RRGGBB
    std::vector<uint32_t> Masks;    // after a 40-byte header with bit fields
    std::vector<std::string> Rows;  // stored order, padded by the builder
    int64_t OffBits = -1;           // -1: right after the palette

    std::string Build() const
    {
        std::string h;
        auto put16 = [&](uint32_t v) { h += static_cast<char>(v); h += static_cast<char>(v >> 8); };
        auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
        std::string info;
        std::swap(h, info);
        put32(HeaderSize);
        if (HeaderSize == 12) {
            put16(static_cast<uint32_t>(Width));
            put16(static_cast<uint32_t>(Height));
            put16(Planes);
            put16(Bits);
        } else {
            put32(static_cast<uint32_t>(Width));
            put32(static_cast<uint32_t>(Height));
            put16(Planes);
            put16(Bits);
            put32(Compression);
            put32(0);
            put32(0);
            put32(0);
            put32(ColorsUsed);
            put32(0);
            while (h.size() < HeaderSize)
                h += '\0';
        }
        for (uint32_t m : Masks)
            put32(m);
        for (uint32_t c : Palette) {
            h += static_cast<char>(c);
            h += static_cast<char>(c >> 8);
            h += static_cast<char>(c >> 16);
            if (HeaderSize != 12)
                h += '\0';
        }
        std::swap(h, info);
        std::string data;
        for (const std::string& row : Rows) {
            std::string r = row;
            while (r.size() % 4)
                r += '\0';
            data += r;
        }
        const uint32_t off = OffBits >= 0 ? static_cast<uint32_t>(OffBits) : static_cast<uint32_t>(14 + info.size());
        std::string file = "BM";
        std::swap(h, file);
        put32(static_cast<uint32_t>(14 + info.size() + data.size()));
        put32(0);
        put32(off);
        std::swap(h, file);
        return file + info + data;
    }
};

TSkinBitmap Load(const std::string& bytes)
{
    TSkinBitmap b;
    b.LoadFromBytes(bytes);
    return b;
}

constexpr TSkinPixel Red = RGBPixel(255, 0, 0);
constexpr TSkinPixel Green = RGBPixel(0, 255, 0);
constexpr TSkinPixel Blue = RGBPixel(0, 0, 255);
constexpr TSkinPixel White = RGBPixel(255, 255, 255);

TEST(SkinBitmap, OneBitWithPalette)
{
    TBmpSpec s;
    s.Bits = 1;
    s.Width = 10;
    s.Palette = {Red, Blue};
    s.Rows = {std::string("\x80\x40", 2), std::string("\x00\x00", 2)}; // bottom row first
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.BitsPerPixel(), 1);
    EXPECT_EQ(b.Pixel(0, 1), Blue);
    EXPECT_EQ(b.Pixel(1, 1), Red);
    EXPECT_EQ(b.Pixel(9, 1), Blue);
    EXPECT_EQ(b.Pixel(0, 0), Red);
}

TEST(SkinBitmap, FourBitWithShortPalette)
{
    TBmpSpec s;
    s.Bits = 4;
    s.Width = 3;
    s.Height = 1;
    s.ColorsUsed = 2;
    s.Palette = {Red, Green};
    s.Rows = {std::string("\x01\xF0", 2)};
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.Pixel(0, 0), Red);
    EXPECT_EQ(b.Pixel(1, 0), Green);
    EXPECT_EQ(b.Pixel(2, 0), RGBPixel(0, 0, 0)); // index past the palette reads as black
}

TEST(SkinBitmap, EightBitTopDown)
{
    TBmpSpec s;
    s.Bits = 8;
    s.Width = 2;
    s.Height = -2;
    s.ColorsUsed = 3;
    s.Palette = {Red, Green, Blue};
    s.Rows = {std::string("\x00\x01", 2), std::string("\x02\x02", 2)};
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(0, 0), Red);
    EXPECT_EQ(b.Pixel(1, 0), Green);
    EXPECT_EQ(b.Pixel(0, 1), Blue);
}

TEST(SkinBitmap, TwentyFourBitRowsArePadded)
{
    TBmpSpec s;
    s.Width = 1;
    s.Height = 2;
    s.Rows = {std::string("\x03\x02\x01", 3), std::string("\x06\x05\x04", 3)};
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.Pixel(0, 1), RGBPixel(1, 2, 3));
    EXPECT_EQ(b.Pixel(0, 0), RGBPixel(4, 5, 6));
}

TEST(SkinBitmap, ThirtyTwoBitKeepsAlpha)
{
    TBmpSpec s;
    s.Bits = 32;
    s.Width = 1;
    s.Height = 1;
    s.Rows = {std::string("\x03\x02\x01\x80", 4)};
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.Pixel(0, 0), 0x80000000u | RGBPixel(1, 2, 3));
}

TEST(SkinBitmap, ThirtyTwoBitFields)
{
    TBmpSpec s;
    s.Bits = 32;
    s.Width = 1;
    s.Height = 1;
    s.Compression = 3;
    s.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red in the lowest byte
    s.Rows = {std::string("\x0A\x0B\x0C\x00", 4)};
    EXPECT_EQ(Load(s.Build()).Pixel(0, 0), RGBPixel(0x0A, 0x0B, 0x0C));
}

TEST(SkinBitmap, CoreHeaderWithThreeBytePalette)
{
    TBmpSpec s;
    s.HeaderSize = 12;
    s.Bits = 1;
    s.Width = 2;
    s.Height = 1;
    s.Palette = {Green, White};
    s.Rows = {std::string("\x40", 1)};
    const TSkinBitmap b = Load(s.Build());
    EXPECT_EQ(b.Pixel(0, 0), Green);
    EXPECT_EQ(b.Pixel(1, 0), White);
}

struct BadCase {
    const char* name;
    std::function<void(TBmpSpec&)> change;
    int cutBytes = 0;
};

TEST(SkinBitmap, MalformedFilesAreRefusedAndLeaveTheBitmapAlone)
{
    const std::vector<BadCase> cases = {
        {"truncated pixels", [](TBmpSpec&) {}, 1},
        {"truncated header", [](TBmpSpec&) {}, 40},
        {"huge width", [](TBmpSpec& s) { s.Width = 0x7FFFFFFF; }},
        {"too many pixels", [](TBmpSpec& s) { s.Width = 60000; s.Height = 60000; }},
        {"zero width", [](TBmpSpec& s) { s.Width = 0; }},
        {"negative width", [](TBmpSpec& s) { s.Width = -2; }},
        {"zero height", [](TBmpSpec& s) { s.Height = 0; }},
        {"minimum height", [](TBmpSpec& s) { s.Height = INT32_MIN; }},
        {"two planes", [](TBmpSpec& s) { s.Planes = 2; }},
        {"sixteen bits", [](TBmpSpec& s) { s.Bits = 16; }},
        {"run-length", [](TBmpSpec& s) { s.Bits = 8; s.Compression = 1; s.Palette = {Red}; s.ColorsUsed = 1; }},
        {"palette larger than the depth", [](TBmpSpec& s) { s.Bits = 1; s.ColorsUsed = 3; s.Palette = {Red, Red, Red}; }},
        {"palette past the end", [](TBmpSpec& s) { s.Bits = 8; s.ColorsUsed = 200; s.Rows.clear(); }},
        {"pixels past the end", [](TBmpSpec& s) { s.OffBits = 1000000; }},
        {"offset past 4 GiB wrap", [](TBmpSpec& s) { s.OffBits = 0xFFFFFFF0; }},
        {"odd header size", [](TBmpSpec& s) { s.HeaderSize = 41; }},
        {"not BM", [](TBmpSpec&) {}, -1},
    };
    for (const BadCase& c : cases) {
        TBmpSpec s;
        s.Rows = {std::string(6, 'x'), std::string(6, 'y')};
        c.change(s);
        std::string bytes = s.Build();
        if (c.cutBytes > 0)
            bytes.resize(bytes.size() - std::min<size_t>(bytes.size(), static_cast<size_t>(c.cutBytes)));
        if (c.cutBytes < 0)
            bytes[0] = 'X';
        TSkinBitmap b(3, 3, 24, Red);
        EXPECT_THROW(b.LoadFromBytes(bytes), ESkinBitmapError) << c.name;
        EXPECT_EQ(b.Width(), 3) << c.name;
        EXPECT_EQ(b.Pixel(0, 0), Red) << c.name;
    }
    TSkinBitmap b;
    EXPECT_THROW(b.LoadFromBytes(""), ESkinBitmapError);
    EXPECT_THROW(b.LoadFromBytes("BM"), ESkinBitmapError);
}

TEST(SkinBitmap, SaveAndLoadKeepPixelsAtEachWrittenDepth)
{
    for (const int bits : {1, 24, 32}) {
        TSkinBitmap b(13, 5, bits);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                b.SetPixel(x, y, bits == 1 ? ((x + y) % 2 ? White : 0) : RGBPixel(x * 10, y * 40, 7) | (bits == 32 ? 0x7F000000u : 0));
        TMemoryStream s;
        b.SaveToStream(s);
        s.SetPosition(0);
        TSkinBitmap back;
        back.LoadFromStream(s);
        EXPECT_EQ(back, b) << bits;
    }
}

TEST(SkinBitmap, CopyRectClipsToTheImage)
{
    TSkinBitmap b(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            b.SetPixel(x, y, RGBPixel(x, y, 0));
    const TSkinBitmap part = b.CopyRect(2, 1, 10, 10);
    ASSERT_EQ(part.Width(), 2);
    ASSERT_EQ(part.Height(), 2);
    EXPECT_EQ(part.Pixel(0, 0), RGBPixel(2, 1, 0));
    EXPECT_TRUE(b.CopyRect(3, 0, 1, 2).Empty());
    EXPECT_TRUE(b.CopyRect(-5, -5, -1, -1).Empty());
}

TEST(SkinBitmap, MirrorAndConversions)
{
    TSkinBitmap b(3, 2, 32);
    for (int x = 0; x < 3; ++x) {
        b.SetPixel(x, 0, 0x40000000u | RGBPixel(x, 0, 0));
        b.SetPixel(x, 1, RGBPixel(0, x, 0));
    }
    b.MirrorHorizontal();
    EXPECT_EQ(b.Pixel(0, 0), 0x40000000u | RGBPixel(2, 0, 0));
    EXPECT_EQ(b.Pixel(2, 1), RGBPixel(0, 0, 0));
    b.ConvertTo24Bits();
    EXPECT_EQ(b.BitsPerPixel(), 24);
    EXPECT_EQ(b.Pixel(0, 0), RGBPixel(2, 0, 0));
    b.ConvertTo32Bits();
    EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u | RGBPixel(2, 0, 0));
}

TEST(MenuGlyphs, HalvixMenuIsAMonochromeStripOfFourGlyphs)
{
    TSkinBitmap b;
    b.LoadFromBytes(HalvixMenuBitmapFile());
    EXPECT_EQ(b.Width(), 64);
    EXPECT_EQ(b.Height(), 16);
    EXPECT_EQ(b.BitsPerPixel(), 1);
    EXPECT_EQ(b, HalvixMenuBitmap());
    TSkinImageList list;
    list.Bitmap = b;
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const TSkinBitmap glyph = list.Image(i);
        int black = 0;
        for (TSkinPixel p : glyph.Pixels())
            black += (p & 0xFFFFFF) == 0;
        EXPECT_GT(black, 10) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(glyph, list.Image(j)) << i << " " << j;
    }
}

} // namespace
} // namespace orbelin
