#pragma once
// What the screen shows, read back through the screen's device context
// (the X server's picture under Wine), and the skin's pictures to compare.

#include "skin/data/SkinBitmap.h"

#include <windows.h>

#include <functional>

namespace orbelin::test {

// The screen's pixels in rect (screen coordinates), top row first.
TSkinBitmap ReadScreen(const RECT& rect);

// The pixels of expected that are not magenta and differ on screen, read at
// (origin + position); with `within` each checked pixel must also lie in
// the window's region, and each magenta one outside it.
struct TPixelComparison {
    int Compared = 0;
    int Different = 0;
    int Transparent = 0;         // magenta in the expected picture
    int TransparentButShown = 0; // of those, inside the window's region
};
TPixelComparison CompareWithScreen(const TSkinBitmap& expected, POINT origin, HWND regionOf = nullptr);

} // namespace orbelin::test
