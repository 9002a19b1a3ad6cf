#pragma once
// The geometry of skin drawing, apart from any device: which part of a skin
// image goes to which part of the destination, and which pixels of an image
// make a window region. The GDI drawing code only carries these copies out,
// so everything here is tested without a window.

#include "skin/data/SkinBitmap.h"
#include "skin/data/SkinElements.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace orbelin {

struct TSkinRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Negative width or height: such a destination draws nothing.
    bool IsInverted() const { return Right < Left || Bottom < Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    TSkinRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TSkinRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    bool operator==(const TSkinRect&) const = default;
};

struct TSkinSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TSkinSize&) const = default;
};

// Frame n (from 1) of an image holding `frames` equal frames side by side
// (or stacked when vertical).
TSkinRect FrameRect(int imageWidth, int imageHeight, int frames, int frame, bool vertical);

// One stretched (or tiled) copy of a source rectangle to a destination.
struct TSliceCopy {
    TSkinRect Source;
    TSkinRect Dest;
    bool Tiled = false;
    bool operator==(const TSliceCopy&) const = default;
};

// The copies that draw `frame` (a rectangle of the image) into a destination
// of `size` with fixed margins, in drawing order: top-left, bottom-left,
// top-right corners, left and top edges, centre, bottom-right corner, right
// and bottom edges. Margins that do not fit the destination on their axis
// are dropped together with their opposite margin.
std::vector<TSliceCopy> NineSlicePieces(TSkinSize size, TSkinRect frame, TSkinMargins margins, bool tileCentre);

// Left and right parts fixed, the middle repeated from x = left while x is
// left of the right part (the last copy may run under it); every piece
// stretched to the full height. A frame without middle draws none.
std::vector<TSliceCopy> ThreeSlicePieces(TSkinSize size, TSkinRect frame, int left, int right);

// The positions of a tile of `tile` size repeated from dest's top-left
// corner while inside dest (the last row and column may stick out).
std::vector<TSkinRect> TileRects(TSkinRect dest, TSkinSize tile);

// A rectangle of `measured` size centred in `within` on both axes, each half
// rounded toward zero.
TSkinRect CentreRect(TSkinRect within, TSkinSize measured);

// Whether a pixel is transparent: each channel between the colour's value
// and that value plus the tolerance (capped at 255).
struct TTransparency {
    TSkinPixel Colour = MagentaPixel;
    int TolRed = 1;
    int TolGreen = 1;
    int TolBlue = 1;
    bool IsTransparent(TSkinPixel pixel) const;
};

// Every maximal run of non-transparent pixels of every row, left to right,
// as one-pixel-high rectangles moved by (x, y).
std::vector<TSkinRect> OpaqueRuns(const TSkinBitmap& bitmap, int x, int y, const TTransparency& transparency);

// Gathers region rectangles in blocks with room for 500, growing by 500,
// and hands every full batch of 2000 (and the rest at the end) to flush.
class TRegionBatcher {
public:
    static constexpr size_t Grow = 500;
    static constexpr size_t Batch = 2000;
    using TFlush = std::function<void(const std::vector<TSkinRect>& batch)>;

    explicit TRegionBatcher(TFlush flush);
    void Add(const TSkinRect& rect);
    // Hands over what is left; call once at the end.
    void Finish();
    size_t Capacity() const { return FRects.capacity(); }

private:
    TFlush FFlush;
    std::vector<TSkinRect> FRects;
};

// A software rendering of NineSlicePieces (nearest-pixel stretching, as
// COLORONCOLOR stretching does), for the regions of the frame and for tests
// that compare the screen with what the skin should show.
TSkinBitmap RenderNineSlice(const TSkinBitmap& image, TSkinSize size, TSkinMargins margins, bool vertical,
                            bool tileCentre, int frames, int frame);

// Where a bitmap button puts its glyph and caption in a client of `client`
// size: glyph left, right, top or bottom of the text; a margin of -1 with a
// spacing centres both; a spacing of -1 spreads them evenly.
enum class TGlyphSide { Left, Right, Top, Bottom };
struct TGlyphTextLayout {
    TSkinRect Glyph;
    TSkinRect Text;
    unsigned Alignment = 0; // 0 left, 1 right, 2 centre
    bool operator==(const TGlyphTextLayout&) const = default;
};
TGlyphTextLayout LayoutGlyphAndText(TSkinSize client, TSkinSize glyph, TSkinSize text, TGlyphSide side,
                                    int margin, int spacing);

// The glyph box of a check box or radio button of a glyph w x h in rect:
// centred vertically, inside a 14-pixel column at the left (or right,
// with the text on the left).
TSkinRect CheckGlyphRect(TSkinRect rect, int w, int h, bool leftText);

} // namespace orbelin
