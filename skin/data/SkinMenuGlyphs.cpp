#include "skin/data/SkinMenuGlyphs.h"

#include "base/Streams.h"

#include <array>

namespace orbelin {

namespace {

using TGlyph = std::array<const char*, 16>;

// '#' is black (drawn), '.' white (transparent in the image list).
constexpr TGlyph RestoreGlyph = {
    "................", "................", ".....#########..", ".....#########..",
    ".....#.......#..", "..#########..#..", "..#########..#..", "..#.......#..#..",
    "..#.......####..", "..#.......#.....", "..#.......#.....", "..#########.....",
    "................", "................", "................", "................"};
constexpr TGlyph MaximizeGlyph = {
    "................", "................", "...##########...", "...##########...",
    "...#........#...", "...#........#...", "...#........#...", "...#........#...",
    "...#........#...", "...#........#...", "...#........#...", "...##########...",
    "................", "................", "................", "................"};
constexpr TGlyph MinimizeGlyph = {
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "....########....", "....########....",
    "................", "................", "................", "................"};
constexpr TGlyph CloseGlyph = {
    "................", "................", "...##......##...", "....##....##....",
    ".....##..##.....", "......####......", ".......##.......", "......####......",
    ".....##..##.....", "....##....##....", "...##......##...", "................",
    "................", "................", "................", "................"};

TSkinBitmap BuildGlyphs()
{
    const TGlyph* glyphs[] = {&RestoreGlyph, &MaximizeGlyph, &MinimizeGlyph, &CloseGlyph};
    TSkinBitmap bitmap(64, 16, 1, RGBPixel(255, 255, 255));
    for (int g = 0; g < 4; ++g)
        for (int y = 0; y < 16; ++y) {
            const char* row = (*glyphs[g])[static_cast<size_t>(y)];
            for (int x = 0; x < 16 && row[x]; ++x)
                if (row[x] == '#')
                    bitmap.SetPixel(g * 16 + x, y, RGBPixel(0, 0, 0));
        }
    return bitmap;
}

} // namespace

const TSkinBitmap& HalvixMenuBitmap()
{
    static const TSkinBitmap bitmap = BuildGlyphs();
    return bitmap;
}

std::string HalvixMenuBitmapFile()
{
    TMemoryStream stream;
    HalvixMenuBitmap().SaveToStream(stream);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

} // namespace orbelin
