#pragma once
// A small anti-aliased painter for the skin generator. Shapes are sampled
// 4 x 4 per pixel and blended onto what is already there; pixels a shape
// leaves uncovered can then be turned magenta, so that anti-aliased edges
// are blended against the colour the skin will really be drawn on.

#include "skin/data/SkinBitmap.h"

#include <functional>

namespace orbelin::skingen {

struct TRgb {
    int r = 0, g = 0, b = 0;
    TSkinPixel Pixel() const { return RGBPixel(r, g, b); }
    static TRgb Hex(unsigned v) { return {static_cast<int>(v >> 16 & 0xFF), static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)}; }
};

TRgb Mix(TRgb a, TRgb b, double t); // t = 0 gives a

// Inside test of a shape in pixel coordinates (pixel centres at +0.5).
using TShape = std::function<bool(double x, double y)>;

TShape RoundRect(double x0, double y0, double x1, double y1, double radius);
TShape Circle(double cx, double cy, double radius);
TShape Ring(double cx, double cy, double outer, double inner);
// A polyline stroked with the given width and round joins.
TShape Stroke(std::initializer_list<std::pair<double, double>> points, double width);
TShape Minus(TShape a, TShape b);
TShape Rect(double x0, double y0, double x1, double y1);
TShape Intersect(TShape a, TShape b);

class TSkinCanvas {
public:
    TSkinCanvas(int width, int height, TRgb background);

    TSkinBitmap& Bitmap() { return FBitmap; }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }

    // Drawing is offset by the origin, so a frame paints in its own coordinates.
    void SetOrigin(int x, int y) { FOriginX = x; FOriginY = y; }
    // Shapes are only sampled inside the current frame.
    void SetFrame(int x, int y, int w, int h) { FOriginX = x; FOriginY = y; FFrameW = w; FFrameH = h; }
    void FillRect(int x0, int y0, int x1, int y1, TRgb colour);
    void VerticalGradient(int x0, int y0, int x1, int y1, TRgb top, TRgb bottom);
    void Fill(const TShape& shape, TRgb colour, double opacity = 1.0);
    void Pixel(int x, int y, TRgb colour);
    // Pixels of the rectangle that the shape does not touch become magenta.
    void CutOutside(const TShape& shape, int x0, int y0, int x1, int y1);
    void FillMagenta(int x0, int y0, int x1, int y1);

private:
    double Coverage(const TShape& shape, int x, int y) const;

    TSkinBitmap FBitmap;
    int FOriginX = 0;
    int FOriginY = 0;
    int FFrameW = -1; // -1: the whole bitmap
    int FFrameH = -1;
};

} // namespace orbelin::skingen
