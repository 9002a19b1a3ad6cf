#pragma once
// Drawing skin images on a device: nine-slice, three-slice and strip
// frames, magenta as the transparent colour, window regions from the opaque
// pixels, tiling and centred single-line text. The geometry comes from
// SkinGeometry; these functions only copy pixels, each on its own
// temporary bitmaps, which their owners free.

#include "skin/render/draw/SkinGeometry.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <string>

namespace orbelin {

inline constexpr COLORREF SkinTransparentColor = RGB(255, 0, 255);

// The device bitmaps of skin images, made once per image and kept until the
// skin is reloaded (images are told apart by their serial, which a reload
// renews, not by their addresses).
// While it lives, a DC of a mirrored window (WS_EX_LAYOUTRTL) draws in plain
// left-to-right coordinates: the frame lays out its right-to-left look
// itself, and a mirrored DC would flip its pictures and texts.
class TUnmirroredDC {
public:
    explicit TUnmirroredDC(HDC dc) : FDC(dc), FLayout(dc ? GetLayout(dc) : 0)
    {
        if (FLayout != GDI_ERROR && (FLayout & LAYOUT_RTL))
            SetLayout(FDC, 0);
    }
    ~TUnmirroredDC()
    {
        if (FLayout != GDI_ERROR && (FLayout & LAYOUT_RTL))
            SetLayout(FDC, FLayout);
    }
    TUnmirroredDC(const TUnmirroredDC&) = delete;
    TUnmirroredDC& operator=(const TUnmirroredDC&) = delete;

private:
    HDC FDC;
    DWORD FLayout;
};

class TSkinImageCache {
public:
    // A memory DC with the image selected, or null for an empty image.
    static HDC Get(const TSkinBitmap& image);
    static void Clear();
    static size_t Count();
};

inline RECT ToRECT(const TSkinRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TSkinRect ToSkinRect(const RECT& r) { return TSkinRect{r.left, r.top, r.right, r.bottom}; }

// Carries out slice copies from a source DC into a destination DC whose
// origin is `origin`, stretching with COLORONCOLOR and tiling where marked.
void CopySlices(HDC dest, POINT origin, HDC source, const std::vector<TSliceCopy>& pieces);

// A new bitmap of `size` holding frame `frame` of `image` drawn nine-slice.
void NineSliceBitmap(TBitmap& target, TSkinSize size, const TSkinBitmap& image, TSkinMargins margins,
                     bool vertical, bool tileCentre, int frames, int frame);
void DrawNineSlice(HDC dc, const RECT& rect, const TSkinBitmap& image, bool vertical, bool tileCentre,
                   bool transparent, int frames, int frame, TSkinMargins margins);
void DrawThreeSlice(HDC dc, const RECT& rect, const TSkinBitmap& image, bool vertical, bool transparent,
                    int frames, int frame, int left, int right);
void DrawStripFrame(HDC dc, const RECT& rect, const TSkinBitmap& image, bool transparent, int frames, int frame);
// The same for a device bitmap (a window's icon drawn over magenta).
void DrawStripFrame(HDC dc, const RECT& rect, TBitmap& bitmap, bool transparent, int frames, int frame);
// Copies bitmap to rect (stretched to it), leaving the destination where
// the bitmap has the transparent colour.
void DrawTransparent(HDC dc, const RECT& rect, TBitmap& bitmap, COLORREF colour = SkinTransparentColor);
// The pixels of a device bitmap, for regions cut from what was painted.
TSkinBitmap ReadPixels(TBitmap& bitmap, const RECT& part);
// The opaque pixels of bitmap as a region at (x, y); null when none is opaque.
TGdiHandle<HRGN> BitmapToRegion(const TSkinBitmap& bitmap, int x, int y, const TTransparency& transparency);
// Draws src repeatedly from dest's top-left corner while inside dest.
void TileBitmap(HDC dc, const RECT& dest, HDC source, const RECT& src);
// One line of text centred in rect with the DC's font: alignment 0 left,
// 1 right, 2 centre; a disabled text in the button shadow colour.
void DrawCenteredText(HDC dc, const RECT& rect, const std::string& text, int alignment, bool enabled);

} // namespace orbelin
