#pragma once
// What the screen shows, read back through the screen's device context
// (the X server's picture under Wine), against the pictures the skin says.

#include "skin/data/SkinBitmap.h"

#include <windows.h>

namespace orbelin::test {

// The screen's pixels in rect (screen coordinates), top row first.
TSkinBitmap ReadScreen(const RECT& rect);

// The pixels of expected that are not magenta, against the screen at
// origin. Pictures whose magenta must show a known background are put over
// it first (Over), so that every pixel is compared.
struct TPixelComparison {
    int Compared = 0;
    int Different = 0;
    int Transparent = 0; // magenta in the expected picture, left out
};
TPixelComparison CompareWithScreen(const TSkinBitmap& expected, POINT origin);

// A window's frame against the window-sized picture it should show
// (SkipPixel where nothing is expected), within part (window coordinates)
// and the screen: each opaque pixel must show and lie inside the window's
// region; each magenta one must lie outside it and show neither magenta nor
// the colour of the frame beside it.
struct TFrameComparison {
    bool HasRegion = false;
    int Compared = 0;
    int Different = 0;
    int OutsideRegion = 0;
    int Transparent = 0;
    int InsideRegion = 0;
    int ShowsMagenta = 0;
    int ShowsBorder = 0;
};
TFrameComparison CompareFrameWithScreen(const TSkinBitmap& expected, HWND window);
TFrameComparison CompareFrameWithScreen(const TSkinBitmap& expected, HWND window, const RECT& part);

} // namespace orbelin::test
