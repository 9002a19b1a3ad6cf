#include "tools/skingen/SkinCanvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orbelin::skingen {

TRgb Mix(TRgb a, TRgb b, double t)
{
    auto m = [t](int p, int q) { return static_cast<int>(std::lround(p + (q - p) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

TShape RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return [=](double x, double y) {
        if (x < x0 || x > x1 || y < y0 || y > y1)
            return false;
        const double cx = std::clamp(x, x0 + radius, x1 - radius);
        const double cy = std::clamp(y, y0 + radius, y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

TShape Rect(double x0, double y0, double x1, double y1)
{
    return [=](double x, double y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

TShape Circle(double cx, double cy, double radius)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

TShape Ring(double cx, double cy, double outer, double inner)
{
    return Minus(Circle(cx, cy, outer), Circle(cx, cy, inner));
}

TShape Intersect(TShape a, TShape b)
{
    return [a, b](double x, double y) { return a(x, y) && b(x, y); };
}

TShape Minus(TShape a, TShape b)
{
    return [a, b](double x, double y) { return a(x, y) && !b(x, y); };
}

TShape Stroke(std::initializer_list<std::pair<double, double>> points, double width)
{
    const std::vector<std::pair<double, double>> p(points);
    const double half = width / 2;
    return [p, half](double x, double y) {
        for (size_t i = 0; i + 1 < p.size(); ++i) {
            const double ax = p[i].first, ay = p[i].second, bx = p[i + 1].first, by = p[i + 1].second;
            const double dx = bx - ax, dy = by - ay;
            const double len2 = dx * dx + dy * dy;
            const double t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0.0;
            const double ex = ax + t * dx - x, ey = ay + t * dy - y;
            if (ex * ex + ey * ey <= half * half)
                return true;
        }
        return false;
    };
}

TSkinCanvas::TSkinCanvas(int width, int height, TRgb background) : FBitmap(width, height, 24, background.Pixel()) {}

void TSkinCanvas::Pixel(int x, int y, TRgb colour)
{
    x += FOriginX;
    y += FOriginY;
    if (x >= 0 && y >= 0 && x < FBitmap.Width() && y < FBitmap.Height())
        FBitmap.SetPixel(x, y, colour.Pixel());
}

void TSkinCanvas::FillRect(int x0, int y0, int x1, int y1, TRgb colour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            Pixel(x, y, colour);
}

void TSkinCanvas::FillMagenta(int x0, int y0, int x1, int y1) { FillRect(x0, y0, x1, y1, {255, 0, 255}); }

void TSkinCanvas::VerticalGradient(int x0, int y0, int x1, int y1, TRgb top, TRgb bottom)
{
    for (int y = y0; y < y1; ++y)
        FillRect(x0, y, x1, y + 1, Mix(top, bottom, y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0));
}

double TSkinCanvas::Coverage(const TShape& shape, int x, int y) const
{
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            hits += shape(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
    return hits / 16.0;
}

void TSkinCanvas::Fill(const TShape& shape, TRgb colour, double opacity)
{
    const int x0 = FFrameW < 0 ? -FOriginX : 0, x1 = FFrameW < 0 ? FBitmap.Width() - FOriginX : FFrameW;
    const int y0 = FFrameH < 0 ? -FOriginY : 0, y1 = FFrameH < 0 ? FBitmap.Height() - FOriginY : FFrameH;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double c = Coverage(shape, x, y) * opacity;
            if (c <= 0)
                continue;
            const TSkinPixel old = FBitmap.Pixel(x + FOriginX, y + FOriginY);
            const TRgb was{static_cast<int>(old >> 16 & 0xFF), static_cast<int>(old >> 8 & 0xFF), static_cast<int>(old & 0xFF)};
            Pixel(x, y, Mix(was, colour, c));
        }
}

void TSkinCanvas::CutOutside(const TShape& shape, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (Coverage(shape, x, y) == 0)
                Pixel(x, y, {255, 0, 255});
}

} // namespace orbelin::skingen
