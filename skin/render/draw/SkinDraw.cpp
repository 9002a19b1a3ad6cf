#include "skin/render/draw/SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace orbelin {

namespace {

std::map<uint64_t, std::unique_ptr<TBitmap>>& ImageCache()
{
    static std::map<uint64_t, std::unique_ptr<TBitmap>> cache;
    return cache;
}

// A scratch bitmap of the rectangle's size, as the drawing helpers compose in.
class TScratch {
public:
    explicit TScratch(TSkinSize size) { FBitmap.SetSize(size.Width, size.Height); }
    HDC DC() { return FBitmap.DC(); }
    TBitmap& Bitmap() { return FBitmap; }

private:
    TBitmap FBitmap;
};

// Copies a finished scratch bitmap to rect, opaque or through the mask.
void Put(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent)
{
    if (transparent)
        DrawTransparent(dc, rect, bitmap);
    else
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bitmap.DC(), 0, 0, SRCCOPY);
}

TSkinSize SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

} // namespace

HDC TSkinImageCache::Get(const TSkinBitmap& image)
{
    if (image.Empty())
        return nullptr;
    auto& cache = ImageCache();
    auto& slot = cache[image.Serial()];
    if (!slot) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSizeDib(image.Width(), image.Height());
        if (!bitmap->Bits())
            return nullptr;
        // Both hold 0x00RRGGBB per pixel, top row first; the alpha byte of a
        // 32-bit image means nothing to the blits.
        uint32_t* out = bitmap->Bits();
        for (TSkinPixel p : image.Pixels())
            *out++ = p & 0x00FFFFFFu;
        slot = std::move(bitmap);
    }
    return slot->DC();
}

void TSkinImageCache::Clear() { ImageCache().clear(); }

size_t TSkinImageCache::Count() { return ImageCache().size(); }

void CopySlices(HDC dest, POINT origin, HDC source, const std::vector<TSliceCopy>& pieces)
{
    const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    for (const TSliceCopy& p : pieces) {
        const RECT d = ToRECT(p.Dest.Offset(origin.x, origin.y));
        if (p.Tiled)
            TileBitmap(dest, d, source, ToRECT(p.Source));
        else
            StretchBlt(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, source, p.Source.Left, p.Source.Top,
                       p.Source.Width(), p.Source.Height(), SRCCOPY);
    }
    SetStretchBltMode(dest, oldMode);
}

void NineSliceBitmap(TBitmap& target, TSkinSize size, const TSkinBitmap& image, TSkinMargins margins, bool vertical,
                     bool tileCentre, int frames, int frame)
{
    target.SetSize(size.Width, size.Height);
    HDC source = TSkinImageCache::Get(image);
    if (!source || size.Width <= 0 || size.Height <= 0)
        return;
    const TSkinRect from = FrameRect(image.Width(), image.Height(), frames, frame, vertical);
    CopySlices(target.DC(), {0, 0}, source, NineSlicePieces(size, from, margins, tileCentre));
}

void DrawNineSlice(HDC dc, const RECT& rect, const TSkinBitmap& image, bool vertical, bool tileCentre,
                   bool transparent, int frames, int frame, TSkinMargins margins)
{
    if (Inverted(rect) || image.Empty())
        return;
    TBitmap bitmap;
    NineSliceBitmap(bitmap, SizeOf(rect), image, margins, vertical, tileCentre, frames, frame);
    Put(dc, rect, bitmap, transparent);
}

void DrawThreeSlice(HDC dc, const RECT& rect, const TSkinBitmap& image, bool vertical, bool transparent, int frames,
                    int frame, int left, int right)
{
    HDC source = TSkinImageCache::Get(image);
    if (Inverted(rect) || !source)
        return;
    const TSkinSize size = SizeOf(rect);
    TScratch scratch(size);
    const TSkinRect from = FrameRect(image.Width(), image.Height(), frames, frame, vertical);
    const std::vector<TSliceCopy> pieces = ThreeSlicePieces(size, from, left, right);
    HDC target = scratch.DC();
    // The pieces are the left end, the middle copies and the right end.
    // The middle copies are all alike: the first is stretched from the
    // image, the others copied from what is drawn already, doubling.
    const size_t firstMiddle = left > 0 ? 1 : 0;
    const size_t middleCount = pieces.size() - firstMiddle - (right > 0 ? 1 : 0);
    if (left > 0)
        CopySlices(target, {0, 0}, source, {pieces.front()});
    if (middleCount > 0) {
        const TSliceCopy& first = pieces[firstMiddle];
        CopySlices(target, {0, 0}, source, {first});
        const int start = first.Dest.Left, end = pieces[firstMiddle + middleCount - 1].Dest.Right;
        for (int done = first.Dest.Width(); start + done < end; done *= 2)
            BitBlt(target, start + done, 0, std::min(done, end - start - done), size.Height, target, start, 0, SRCCOPY);
    }
    if (right > 0)
        CopySlices(target, {0, 0}, source, {pieces.back()});
    Put(dc, rect, scratch.Bitmap(), transparent);
}

void DrawStripFrame(HDC dc, const RECT& rect, const TSkinBitmap& image, bool transparent, int frames, int frame)
{
    HDC source = TSkinImageCache::Get(image);
    if (Inverted(rect) || !source)
        return;
    const TSkinSize size = SizeOf(rect);
    TScratch scratch(size);
    const TSkinRect from = FrameRect(image.Width(), image.Height(), frames, frame, false);
    CopySlices(scratch.DC(), {0, 0}, source, {{from, {0, 0, size.Width, size.Height}}});
    Put(dc, rect, scratch.Bitmap(), transparent);
}

void DrawStripFrame(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frames, int frame)
{
    if (Inverted(rect) || bitmap.Empty())
        return;
    const TSkinSize size = SizeOf(rect);
    TScratch scratch(size);
    const TSkinRect from = FrameRect(bitmap.Width(), bitmap.Height(), frames, frame, false);
    CopySlices(scratch.DC(), {0, 0}, bitmap.DC(), {{from, {0, 0, size.Width, size.Height}}});
    Put(dc, rect, scratch.Bitmap(), transparent);
}

namespace {

// The pixels of the 32-bit DIB selected into dc, when dc draws straight
// onto them (no offset origin, no clipping).
struct TDibTarget {
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
};

TDibTarget DibTargetOf(HDC dc)
{
    auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    uint32_t* bits = bitmap ? TBitmap::OwnBits(bitmap) : nullptr;
    BITMAP info{};
    if (!bits || GetObjectA(bitmap, sizeof(info), &info) == 0)
        return {};
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    TGdiHandle<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    if (origin.x != 0 || origin.y != 0 || GetClipRgn(dc, clip.Get()) != 0)
        return {};
    return {bits, info.bmWidth, info.bmHeight};
}

} // namespace

void DrawTransparent(HDC dc, const RECT& rect, TBitmap& bitmap, COLORREF colour)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 0 || h < 0 || bitmap.Empty())
        return;
    // The picture as 32-bit pixels of the rectangle's size.
    TBitmap copy;
    TBitmap* source = &bitmap;
    if (!bitmap.Bits() || bitmap.Width() != w || bitmap.Height() != h) {
        copy.SetSizeDib(w, h);
        const int oldMode = SetStretchBltMode(copy.DC(), COLORONCOLOR);
        StretchBlt(copy.DC(), 0, 0, w, h, bitmap.DC(), 0, 0, bitmap.Width(), bitmap.Height(), SRCCOPY);
        SetStretchBltMode(copy.DC(), oldMode);
        source = &copy;
    }
    // The pixels of the destination: our own bitmap's directly; for any other
    // DC what it shows now, read back, keyed over and written again. (The
    // display drivers' mask blits are slow and, under Wine, not reliable on
    // window DCs.)
    TDibTarget target = DibTargetOf(dc);
    TBitmap under;
    RECT place = rect;
    if (!target.Bits) {
        under.SetSizeDib(w, h);
        BitBlt(under.DC(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
        target = {under.Bits(), w, h};
        place = {0, 0, w, h};
    }
    if (!target.Bits || !source->Bits())
        return;
    GdiFlush();
    const uint32_t key = static_cast<uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    for (int y = std::max(0, -static_cast<int>(place.top)); y < h && place.top + y < target.Height; ++y)
        for (int x = std::max(0, -static_cast<int>(place.left)); x < w && place.left + x < target.Width; ++x) {
            const uint32_t p = source->Bits()[y * w + x] & 0x00FFFFFFu;
            if (p != key)
                target.Bits[(place.top + y) * target.Width + place.left + x] = p;
        }
    if (!under.Empty())
        BitBlt(dc, rect.left, rect.top, w, h, under.DC(), 0, 0, SRCCOPY);
}

TSkinBitmap ReadPixels(TBitmap& bitmap, const RECT& part)
{
    const int w = part.right - part.left, h = part.bottom - part.top;
    TSkinBitmap pixels;
    if (w <= 0 || h <= 0 || bitmap.Empty())
        return pixels;
    TBitmap copy;
    copy.SetSizeDib(w, h);
    if (!copy.Bits())
        return pixels;
    BitBlt(copy.DC(), 0, 0, w, h, bitmap.DC(), part.left, part.top, SRCCOPY);
    GdiFlush();
    pixels.SetSize(w, h);
    const uint32_t* in = copy.Bits();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.SetPixel(x, y, in[y * w + x] & 0x00FFFFFFu);
    return pixels;
}

TGdiHandle<HRGN> BitmapToRegion(const TSkinBitmap& bitmap, int x, int y, const TTransparency& transparency)
{
    TGdiHandle<HRGN> result;
    TRegionBatcher batcher([&](const std::vector<TSkinRect>& batch) {
        std::vector<char> data(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(batch.size());
        RECT bounds{batch.front().Left, batch.front().Top, batch.front().Right, batch.front().Bottom};
        auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
        for (size_t i = 0; i < batch.size(); ++i) {
            rects[i] = ToRECT(batch[i]);
            UnionRect(&bounds, &bounds, &rects[i]);
        }
        header->rcBound = bounds;
        TGdiHandle<HRGN> part(
            ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
        if (!result)
            result = std::move(part);
        else
            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    });
    for (const TSkinRect& run : OpaqueRuns(bitmap, x, y, transparency))
        batcher.Add(run);
    batcher.Finish();
    return result;
}

void TileBitmap(HDC dc, const RECT& dest, HDC source, const RECT& src)
{
    const TSkinRect from = ToSkinRect(src);
    if (from.IsEmpty())
        return;
    TScratch tile({from.Width(), from.Height()});
    BitBlt(tile.DC(), 0, 0, from.Width(), from.Height(), source, from.Left, from.Top, SRCCOPY);
    // Clipped to dest: the last row and column of tiles may stick out.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
    for (const TSkinRect& r : TileRects(ToSkinRect(dest), {from.Width(), from.Height()}))
        BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), tile.DC(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void DrawCenteredText(HDC dc, const RECT& rect, const std::string& text, int alignment, bool enabled)
{
    const UINT align = alignment == 1 ? DT_RIGHT : alignment == 2 ? DT_CENTER : DT_LEFT;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT measured = rect;
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | align);
    RECT placed = ToRECT(
        CentreRect(ToSkinRect(rect), {measured.right - measured.left, measured.bottom - measured.top}));
    COLORREF oldColour = 0;
    if (!enabled)
        oldColour = SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &placed, DT_SINGLELINE | DT_EXPANDTABS | align);
    if (!enabled)
        SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

} // namespace orbelin
