#include "skin/render/draw/SkinGeometry.h"

#include <algorithm>

namespace orbelin {

TSkinRect FrameRect(int imageWidth, int imageHeight, int frames, int frame, bool vertical)
{
    frames = std::max(frames, 1);
    if (vertical) {
        const int h = imageHeight / frames;
        return {0, h * (frame - 1), imageWidth, h * frame};
    }
    const int w = imageWidth / frames;
    return {w * (frame - 1), 0, w * frame, imageHeight};
}

std::vector<TSliceCopy> NineSlicePieces(TSkinSize size, TSkinRect frame, TSkinMargins m, bool tileCentre)
{
    const int W = size.Width, H = size.Height;
    if (W < m.Left + m.Right)
        m.Left = m.Right = 0;
    if (H < m.Top + m.Bottom)
        m.Top = m.Bottom = 0;
    const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
    const int x0 = frame.Left, y0 = frame.Top, x1 = frame.Right, y1 = frame.Bottom;

    std::vector<TSliceCopy> pieces;
    auto add = [&](bool when, TSkinRect source, TSkinRect dest, bool tiled = false) {
        // A piece that moves no pixel (an empty side, a frame smaller than its margins) is left out.
        if (when && !source.IsEmpty() && !dest.IsEmpty())
            pieces.push_back({source, dest, tiled});
    };
    add(L > 0 && T > 0, {x0, y0, x0 + L, y0 + T}, {0, 0, L, T});
    add(L > 0 && B > 0, {x0, y1 - B, x0 + L, y1}, {0, H - B, L, H});
    add(R > 0 && T > 0, {x1 - R, y0, x1, y0 + T}, {W - R, 0, W, T});
    add(L > 0, {x0, y0 + T, x0 + L, y1 - B}, {0, T, L, H - B});
    add(T > 0, {x0 + L, y0, x1 - R, y0 + T}, {L, 0, W - R, T});
    add(true, {x0 + L, y0 + T, x1 - R, y1 - B}, {L, T, W - R, H - B}, tileCentre);
    add(R > 0 && B > 0, {x1 - R, y1 - B, x1, y1}, {W - R, H - B, W, H});
    add(R > 0, {x1 - R, y0 + T, x1, y1 - B}, {W - R, T, W, H - B});
    add(B > 0, {x0 + L, y1 - B, x1 - R, y1}, {L, H - B, W - R, H});
    return pieces;
}

std::vector<TSliceCopy> ThreeSlicePieces(TSkinSize size, TSkinRect frame, int left, int right)
{
    const int W = size.Width, H = size.Height;
    std::vector<TSliceCopy> pieces;
    if (left > 0)
        pieces.push_back({{frame.Left, frame.Top, frame.Left + left, frame.Bottom}, {0, 0, left, H}});
    const int middle = frame.Width() - left - right;
    if (middle > 0)
        for (int x = left; x < W - right; x += middle)
            pieces.push_back(
                {{frame.Left + left, frame.Top, frame.Right - right, frame.Bottom}, {x, 0, x + middle, H}});
    if (right > 0)
        pieces.push_back({{frame.Right - right, frame.Top, frame.Right, frame.Bottom}, {W - right, 0, W, H}});
    return pieces;
}

std::vector<TSkinRect> TileRects(TSkinRect dest, TSkinSize tile)
{
    std::vector<TSkinRect> rects;
    if (tile.Width <= 0 || tile.Height <= 0 || dest.IsEmpty())
        return rects;
    for (int y = dest.Top; y < dest.Bottom; y += tile.Height)
        for (int x = dest.Left; x < dest.Right; x += tile.Width)
            rects.push_back({x, y, x + tile.Width, y + tile.Height});
    return rects;
}

TSkinRect CentreRect(TSkinRect within, TSkinSize measured)
{
    const int x = within.Left + (within.Width() - measured.Width) / 2;
    const int y = within.Top + (within.Height() - measured.Height) / 2;
    return {x, y, x + measured.Width, y + measured.Height};
}

bool TTransparency::IsTransparent(TSkinPixel pixel) const
{
    auto within = [](int value, int reference, int tolerance) {
        return value >= reference && value <= std::min(reference + tolerance, 255);
    };
    return within(static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(Colour >> 16 & 0xFF), TolRed) &&
           within(static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(Colour >> 8 & 0xFF), TolGreen) &&
           within(static_cast<int>(pixel & 0xFF), static_cast<int>(Colour & 0xFF), TolBlue);
}

std::vector<TSkinRect> OpaqueRuns(const TSkinBitmap& bitmap, int x, int y, const TTransparency& transparency)
{
    std::vector<TSkinRect> runs;
    for (int row = 0; row < bitmap.Height(); ++row) {
        int start = -1;
        for (int col = 0; col <= bitmap.Width(); ++col) {
            const bool opaque = col < bitmap.Width() && !transparency.IsTransparent(bitmap.Pixel(col, row));
            if (opaque && start < 0)
                start = col;
            else if (!opaque && start >= 0) {
                runs.push_back({start + x, row + y, col + x, row + y + 1});
                start = -1;
            }
        }
    }
    return runs;
}

TRegionBatcher::TRegionBatcher(TFlush flush) : FFlush(std::move(flush)) { FRects.reserve(Grow); }

void TRegionBatcher::Add(const TSkinRect& rect)
{
    if (FRects.size() == FRects.capacity())
        FRects.reserve(FRects.capacity() + Grow);
    FRects.push_back(rect);
    if (FRects.size() == Batch) {
        FFlush(FRects);
        FRects.clear();
    }
}

void TRegionBatcher::Finish()
{
    if (!FRects.empty())
        FFlush(FRects);
    FRects.clear();
}

namespace {

// Nearest source pixel of destination pixel d when n source pixels cover m.
int Sample(int d, int n, int m) { return static_cast<int>((2LL * d + 1) * n / (2LL * m)); }

void CopyPiece(const TSkinBitmap& image, TSkinBitmap& target, const TSliceCopy& piece)
{
    const TSkinRect& s = piece.Source;
    const TSkinRect& d = piece.Dest;
    for (int y = std::max(d.Top, 0); y < std::min(d.Bottom, target.Height()); ++y)
        for (int x = std::max(d.Left, 0); x < std::min(d.Right, target.Width()); ++x) {
            const int sx = piece.Tiled ? s.Left + (x - d.Left) % s.Width() : s.Left + Sample(x - d.Left, s.Width(), d.Width());
            const int sy = piece.Tiled ? s.Top + (y - d.Top) % s.Height() : s.Top + Sample(y - d.Top, s.Height(), d.Height());
            if (sx >= 0 && sy >= 0 && sx < image.Width() && sy < image.Height())
                target.SetPixel(x, y, image.Pixel(sx, sy));
        }
}

} // namespace

TSkinBitmap RenderNineSlice(const TSkinBitmap& image, TSkinSize size, TSkinMargins margins, bool vertical,
                            bool tileCentre, int frames, int frame)
{
    TSkinBitmap target(std::max(size.Width, 0), std::max(size.Height, 0), 32);
    if (image.Empty() || target.Empty())
        return target;
    const TSkinRect source = FrameRect(image.Width(), image.Height(), frames, frame, vertical);
    for (const TSliceCopy& piece : NineSlicePieces(size, source, margins, tileCentre))
        CopyPiece(image, target, piece);
    return target;
}

TGlyphTextLayout LayoutGlyphAndText(TSkinSize client, TSkinSize glyph, TSkinSize text, TGlyphSide side,
                                    int margin, int spacing)
{
    const bool horizontal = side == TGlyphSide::Left || side == TGlyphSide::Right;
    const int clientLength = horizontal ? client.Width : client.Height;
    const int glyphLength = horizontal ? glyph.Width : glyph.Height;
    const int textLength = horizontal ? text.Width : text.Height;
    if (text.Width == 0 || glyph.Width == 0)
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (clientLength - glyphLength - textLength) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (clientLength - (glyphLength + spacing + textLength)) / 2;
    } else if (spacing == -1) {
        spacing = (clientLength - margin - glyphLength - textLength) / 2;
    }
    TGlyphTextLayout out;
    int gx = 0, gy = 0, tx = 0, ty = 0;
    if (horizontal) {
        gy = (client.Height - glyph.Height + 1) / 2;
        ty = (client.Height - text.Height + 1) / 2;
        if (side == TGlyphSide::Left) {
            gx = margin;
            tx = margin + glyph.Width + spacing;
            out.Alignment = 0;
        } else {
            gx = client.Width - margin - glyph.Width;
            tx = gx - spacing - text.Width;
            out.Alignment = 1;
        }
    } else {
        gx = (client.Width - glyph.Width + 1) / 2;
        tx = (client.Width - text.Width + 1) / 2;
        if (side == TGlyphSide::Top) {
            gy = margin;
            ty = margin + glyph.Height + spacing;
        } else {
            gy = client.Height - margin - glyph.Height;
            ty = gy - spacing - text.Height;
        }
        out.Alignment = 2;
    }
    out.Glyph = {gx, gy, gx + glyph.Width, gy + glyph.Height};
    out.Text = {tx, ty, tx + text.Width, ty + text.Height};
    return out;
}

TSkinRect CheckGlyphRect(TSkinRect rect, int w, int h, bool leftText)
{
    const int top = rect.Top + (rect.Height() - h) / 2;
    int left = 0;
    if (!leftText)
        left = w <= 14 ? rect.Left + (14 - w) / 2 : rect.Left;
    else
        left = (w <= 14 ? rect.Right - (14 - w) / 2 : rect.Right - 1) - w;
    return {left, top, left + w, top + h};
}

} // namespace orbelin
