#pragma once
// Glyphs of the skinned system menu: the 64 x 16 monochrome bitmap
// "HALVIXMENU" (restore, maximize, minimize, close; black on white) and the
// image list the store cuts from it.

#include "skin/data/SkinBitmap.h"
#include "skin/data/SkinElements.h"

#include <string>

namespace orbelin {

inline constexpr const char* MenuGlyphsResourceName = "HALVIXMENU";

// The bitmap, 1 bit per pixel. The Windows resource script embeds the same
// picture (written by the skin generator) under the resource name above.
const TSkinBitmap& HalvixMenuBitmap();
// HalvixMenuBitmap as the bytes of a BMP file.
std::string HalvixMenuBitmapFile();

// Equal square images side by side in one bitmap.
class TSkinImageList {
public:
    int Width = 16;
    int Height = 16;
    TColor TransparentColor = clWhite;
    TSkinBitmap Bitmap;

    int Count() const { return Width > 0 && Bitmap.Height() >= Height ? Bitmap.Width() / Width : 0; }
    TSkinBitmap Image(int index) const { return Bitmap.CopyRect(index * Width, 0, (index + 1) * Width, Height); }
};

} // namespace orbelin
